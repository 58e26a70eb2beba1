// The system's own texts, as the code page 932 (Shift-JIS) byte strings that the "A" calls
// of Windows take. Each has its text in UTF-8 beside it; a test decodes every one of them
// and compares.
#pragma once

namespace texts {

// "エラーが発生したらしい(^^;": the caption of every message box
extern const char errorCaption[];
// "ぽこるん": the window's title
extern const char windowTitle[];
// "ウィンドウを作成出来ません。": the window cannot be created
extern const char windowCreationFailed[];
// "DirectDrawを初期化出来ません(;;": DirectDraw cannot be initialised
extern const char directDrawInitFailed[];
// "%s ファイルが見つかりません": file not found; %s is the file's name
extern const char fileNotFoundFormat[];

// The frames-per-second line; %d is the count
extern const char fpsFormat[];

// The window class
extern const char windowClassName[];

}  // namespace texts
