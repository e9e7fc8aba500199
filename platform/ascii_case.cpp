#include "platform/ascii_case.h"

namespace valmero {

namespace {

char UpperAsciiChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace

void UpperCaseAscii(char* text) {
  for (; *text != '\0'; ++text) *text = UpperAsciiChar(*text);
}

std::string UpperAscii(std::string text) {
  for (char& c : text) c = UpperAsciiChar(c);
  return text;
}

}  // namespace valmero
