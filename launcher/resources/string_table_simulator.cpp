// The program's string table for the device simulator: the same messages that
// the Windows resource script compiles, handed to the simulator's LoadStringW
// when the program starts, as a linked resource section would be.
#include <iterator>

#include "simulator/device_simulator.hpp"

namespace {

const device_simulator::string_resource insert_card_messages[] = {
#define INSERT_CARD_MESSAGE(id, text) {id, u##text},
#include "insert_card_messages.def"
#undef INSERT_CARD_MESSAGE
};

struct string_table_registration {
    string_table_registration() {
        device_simulator::register_string_table(insert_card_messages, std::size(insert_card_messages));
    }
} const registration;

}  // namespace
