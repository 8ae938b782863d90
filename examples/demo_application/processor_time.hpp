// The processor time that the calling thread has used so far, one
// implementation per platform: the demo application must burn processor time,
// not wall-clock time, because that is what the launcher waits for.
#pragma once

double processor_seconds();
