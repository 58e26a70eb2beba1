#include "host/file_not_found.h"

#include <cstdio>
#include <cstring>

#include "host/fatal_exit.h"
#include "host/shared_data.h"
#include "host/texts.h"

void exitFileNotFound(const char* fileName) {
  if (fileName == nullptr) fileName = "";  // no name at all: not found, and shown empty
  const size_t suffixLength = std::strlen(texts::fileNotFoundFormat) - 2;  // without the %s
  const size_t room = sizeof messageText - 1 - suffixLength;
  size_t length = 0;
  while (length < room && fileName[length] != '\0') {
    const auto byte = static_cast<unsigned char>(fileName[length]);
    const bool leadByte = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    if (leadByte && (length + 1 >= room || fileName[length + 1] == '\0')) break;
    length += leadByte ? 2 : 1;
  }
  char name[sizeof messageText];
  std::memcpy(name, fileName, length);
  name[length] = '\0';
  std::snprintf(messageText, sizeof messageText, texts::fileNotFoundFormat, name);
  fatalExit(messageText);
}
