// The language hand-over on simulated devices: what reaches the device
// language file for each kind of settings file, and what a later run without
// the card then shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "language_hand_over.hpp"
#include "launcher/run_launcher.hpp"
#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

namespace {

const char* const settings_file = "Card/TVL/Settings/UserSettingsLanguage.xml";

std::string settings_with(const std::string& language_element) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n  <Units>1</Units>\n  " + language_element +
           "\n</Settings>\n";
}

// The message a run without any card shows afterwards.
std::string message_without_card() {
    device_simulator::set_storage_cards({});
    launcher::run_launcher(device_simulator::program_instance());
    std::vector<std::string> boxes = device_simulator::shown_message_boxes();
    return boxes.empty() ? "" : boxes.back();
}

}  // namespace

TEST(language_hand_over, writes_what_the_settings_say) {
    struct row {
        const char* settings;  // nullptr: no settings file
        int code;
        const char* written;
        const char* message_afterwards;
    };
    const std::string english = "Tarvolen: Please insert the memory card into the device.";
    std::string too_deep = "<Settings><Language>5</Language>";
    for (int i = 0; i < 100000; ++i) too_deep += "<a>";
    const row rows[] = {
        {nullptr, 1, "1", "Tarvolen: Please insert the memory card into the device."},
        {"<Settings><Language>23</Language></Settings>", 23, "23",
         "Tarvolen: L\xc3\xbctfen hafiza kartini cihazin i\xc3\xa7ine yerlestirin."},
        {"<Settings><Language>24</Language></Settings>", 24, "24", "Tarvolen: Umiesc karte pamieci w urzadzeniu."},
        {"<Settings><Language>26</Language></Settings>", 26, "26",
         "Tarvolen: Plaats a.u.b. de geheugenkaart in het apparaat."},
        {"<Settings><Language>32</Language></Settings>", 32, "32",
         "Tarvolen: K\xc3\xa9rem, helyezze be a mem\xc3\xb3riak\xc3\xa1rty\xc3\xa1t."},
        {"<Settings><Language>-5</Language></Settings>", -5, "-5", english.c_str()},
        {"<Settings><Language> 7 </Language></Settings>", 7, "7",
         "Tarvolen: Coloque o cart\xc3\xa3o de mem\xc3\xb3ria no aparelho."},
        {"<Settings><Language>26x</Language></Settings>", 26, "26",
         "Tarvolen: Plaats a.u.b. de geheugenkaart in het apparaat."},
        {"<Settings><Language>2.9</Language></Settings>", 2, "2",
         "Tarvolen: Bitte legen sie die Speicherkarte in das Ger\xc3\xa4t ein."},
        {"<Settings><Language>1000000</Language></Settings>", 1000000, "1000000", english.c_str()},
        {"<Settings><Language>99999999999</Language></Settings>", 2147483647, "2147483647", english.c_str()},
        {"<Settings><Units>1</Units></Settings>", 0, "0", english.c_str()},  // no Language element
        {"<Settings><Language/></Settings>", 0, "0", english.c_str()},      // no text
        {"<Settings><Language>x</Language></Settings>", 0, "0", english.c_str()},
        {"<Other><Language>5</Language></Other>", 0, "0", english.c_str()},  // another root element
        {"<Settings><Language>7</Language>", 1, "1", english.c_str()},        // malformed
        {"", 1, "1", english.c_str()},                                         // empty file
        {too_deep.c_str(), 1, "1", english.c_str()},  // nests too deeply to be parsed
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.settings ? r.settings : "(no settings file)");
        test_support::temporary_device device;
        device.write_file("Windows/tv_lastlang", "9");
        device.make_folder("Card/TVL/Settings");
        if (r.settings) device.write_file(settings_file, r.settings);
        EXPECT_EQ(launcher::hand_over_language(u"\\Card"), r.code);
        EXPECT_EQ(device.read_file("Windows/tv_lastlang"), r.written);
        EXPECT_EQ(message_without_card(), r.message_afterwards);
    }
}

TEST(language_hand_over, loads_every_encoding_the_settings_come_in) {
    struct row {
        const char* name;
        std::string content;
    };
    const row rows[] = {
        {"UTF-8 with a byte-order mark", "\xef\xbb\xbf" + settings_with("<Language>13</Language>")},
        {"ISO 8859-1 declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Settings><Name>J\xfcrgen</Name>"
                                "<Language>13</Language></Settings>"},
        {"no declaration", "<Settings><Language>13</Language></Settings>"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        test_support::temporary_device device;
        device.make_folder("Windows");
        device.write_file(settings_file, r.content);
        EXPECT_EQ(launcher::hand_over_language(u"\\Card"), 13);
        EXPECT_EQ(device.read_file("Windows/tv_lastlang"), "13");
    }
}

TEST(language_hand_over, rewrites_a_read_only_device_language_file) {
    test_support::temporary_device device;
    device.write_file("Windows/tv_lastlang", "2");
    device.set_writable("Windows/tv_lastlang", false);
    device.write_file(settings_file, settings_with("<Language>8</Language>"));
    EXPECT_EQ(launcher::hand_over_language(u"\\Card"), 8);
    EXPECT_EQ(device.read_file("Windows/tv_lastlang"), "8");
}

TEST(language_hand_over, a_device_file_that_cannot_be_written_is_skipped) {
    test_support::temporary_device device;  // no \Windows folder at all
    device.write_file(settings_file, settings_with("<Language>8</Language>"));
    EXPECT_EQ(launcher::hand_over_language(u"\\Card"), 8);
    EXPECT_FALSE(device.exists("Windows"));
}

TEST(language_hand_over, card_names_the_file_name_cannot_carry) {
    test_support::temporary_device device;
    device.make_folder("Windows");
    // 260 bytes hold the path with its terminator; "\" and "\TVL\Settings\UserSettingsLanguage.xml" take 39.
    std::string fits(259 - 39, 'c');
    std::string too_long(260 - 39, 'c');
    for (const std::string& name : {fits, too_long}) {
        device.write_file(name + "/TVL/Settings/UserSettingsLanguage.xml", settings_with("<Language>5</Language>"));
    }
    auto root_of = [](const std::string& name) {
        std::u16string root = u"\\" + std::u16string(name.begin(), name.end());
        return launcher::wide_string(root.c_str());
    };
    EXPECT_EQ(launcher::hand_over_language(root_of(fits)), 5);
    EXPECT_EQ(launcher::hand_over_language(root_of(too_long)), 1);  // never cut into another path
    EXPECT_EQ(device.read_file("Windows/tv_lastlang"), "1");

    launcher::wide_string unpaired = u"\\Card";
    unpaired += char16_t(0xD800);
    EXPECT_EQ(launcher::hand_over_language(unpaired), 1);  // no 8-bit form at all
}

TEST(language_hand_over, a_card_name_outside_ascii) {
    test_support::temporary_device device;
    device.make_folder("Windows");
    device.write_file("Speicherkarte \xc3\xa4/TVL/Settings/UserSettingsLanguage.xml",
                      settings_with("<Language>3</Language>"));
    EXPECT_EQ(launcher::hand_over_language(u"\\Speicherkarte \u00e4"), 3);
    EXPECT_EQ(device.read_file("Windows/tv_lastlang"), "3");
}

TEST(language_hand_over, happens_before_the_pause_and_the_start) {
    test_support::temporary_device device;
    device.make_folder("Windows");
    device.write_program("Card/TVL/TVL.EXE", "exit 0");
    device.write_file(settings_file, settings_with("<Language>23</Language>"));
    device_simulator::set_storage_cards({"Card"});
    device_simulator::record_calls(true);
    EXPECT_EQ(launcher::run_launcher(device_simulator::program_instance()), 0);
    std::vector<std::string> calls = device_simulator::take_recorded_calls();
    auto write = std::find(calls.begin(), calls.end(), "fputws 23 -> ok");
    ASSERT_GE(calls.end() - write, 3);
    EXPECT_EQ(*(write + 1), "Sleep 200");
    EXPECT_EQ(*(write + 2), "CreateProcessW \\Card\\TVL\\TVL.EXE");
    EXPECT_EQ(device.read_file("Windows/tv_lastlang"), "23");
}
