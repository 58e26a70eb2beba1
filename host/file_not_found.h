// The end of the program when a file the engine needs cannot be read.
#pragma once

// Formats "<name> ファイルが見つかりません" into messageText, cutting a name too long for it
// so that the message and its terminator still fit (never inside a double-byte character),
// and calls fatalExit with it. A null name counts as an empty one.
[[noreturn]] void exitFileNotFound(const char* fileName);
