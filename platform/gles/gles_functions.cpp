#include "platform/gles/gles_functions.h"

namespace gles {

bool loadGlesFunctions(GlesLookup lookup, GlesFunctions& functions, std::string& missing) {
  missing.clear();
  if (lookup == nullptr) {
    missing = "(no lookup function)";
    return false;
  }
#define GLES_FUNCTION_LOAD(type, name)                         \
  functions.name = reinterpret_cast<type>(lookup("gl" #name)); \
  if (functions.name == nullptr && missing.empty()) missing = "gl" #name;
  GLES_FUNCTION_LIST(GLES_FUNCTION_LOAD)
#undef GLES_FUNCTION_LOAD
  return missing.empty();
}

const char* missingGlesFunction(const GlesFunctions& functions) {
#define GLES_FUNCTION_CHECK(type, name) \
  if (functions.name == nullptr) return "gl" #name;
  GLES_FUNCTION_LIST(GLES_FUNCTION_CHECK)
#undef GLES_FUNCTION_CHECK
  return nullptr;
}

}  // namespace gles
