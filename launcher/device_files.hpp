// The names the launcher shares with the application and the device: where
// the application and its settings lie below a card's root, where the device
// keeps the last language, and the caption of the insert-card message.
#pragma once

#include "windows_ce.hpp"

namespace launcher {

constexpr const WCHAR* application_below_card = TEXT("\\TVL\\TVL.EXE");
constexpr const WCHAR* settings_below_card = TEXT("\\TVL\\Settings\\UserSettingsLanguage.xml");
constexpr const WCHAR* device_language_file = TEXT("\\Windows\\tv_lastlang");
constexpr const WCHAR* message_caption = TEXT("Tarvolen");

}  // namespace launcher
