// A modal message box of our own: a small window titled with the caption, the text, and an OK
// button that Enter, Escape, Space, a click on it or closing the window answers.
#pragma once

#include <string_view>

namespace sdl {

// Returns when the user has answered the box (true), or when SDL asked the program to quit, as
// it does for SIGINT and SIGTERM (false). Video must be initialised.
bool runMessageBox(std::string_view captionUtf8, std::string_view textUtf8);

}  // namespace sdl
