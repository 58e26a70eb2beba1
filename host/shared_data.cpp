#include "host/shared_data.h"

HWND mainWindow = nullptr;
char messageText[messageTextSize];
