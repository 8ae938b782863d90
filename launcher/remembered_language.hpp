// The remembered language: the device language file that keeps the last
// language code handed over from a card, and the insert-card message that the
// code selects when no card carries the application.
#pragma once

namespace launcher {

// The string-table id (1 to 15) of the insert-card message to show.
extern int insert_card_message_id;

// Reads the device language file and sets insert_card_message_id; a missing
// or unreadable file counts as language 1 (English).
void read_device_language_file();

// The message id for a language code; codes the table does not know give 1.
int insert_card_message_for(int language_code);

}  // namespace launcher
