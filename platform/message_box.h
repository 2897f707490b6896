#pragma once

#include <string_view>

namespace platform {

// A modal message box with an OK button and no owner window. There is no desktop here: the box is written to
// standard error as "[title] text". Titles and texts are UTF-16, as the module holds them.
void messageBox(std::u16string_view title, std::u16string_view text);

}  // namespace platform
