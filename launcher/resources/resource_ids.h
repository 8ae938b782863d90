// Ids of the program's resources other than the strings, shared by the
// resource script and the code that looks them up. Plain defines: the
// resource compiler reads this file too.
#pragma once

#define IDI_PROGRAM 1
