#pragma once

#include <functional>
#include <string_view>

namespace platform {

// A modal message box with an OK button and no owner window. There is no desktop here: the box is written to
// standard error as "[title] text". Titles and texts are UTF-16, as the module holds them.
void messageBox(std::u16string_view title, std::u16string_view text);

// Lets the stand-in host see every message box the module shows; null restores the plain behaviour. The
// observer is called after the text has been written.
using MessageBoxObserver = std::function<void(std::u16string_view title, std::u16string_view text)>;
void setMessageBoxObserver(MessageBoxObserver observer);

}  // namespace platform
