#include "run/songlist_shape.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/file_facts.h"

namespace valmero {

namespace {

// How much of a line is kept to look at.
constexpr std::size_t KEPT_LINE_LIMIT = 4096;

bool IsSeparatorByte(char c) { return c == '\t' || c == '#' || c == '|'; }

// A byte-order mark, or text in which nearly every pair of bytes holds one
// NUL: the two-byte characters of Latin text. A NUL here and there in a
// single-byte file is no such thing.
bool LooksLikeUtf16(const unsigned char* bytes, std::size_t size) {
  if (size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) return true;
  const std::size_t pairs = std::min<std::size_t>(size, 512) / 2;
  if (pairs < 2) return false;
  std::size_t oneNul = 0;
  for (std::size_t i = 0; i < pairs; ++i) oneNul += (bytes[2 * i] == 0) != (bytes[2 * i + 1] == 0) ? 1 : 0;
  return oneNul * 4 >= pairs * 3;
}

}  // namespace

bool CSonglistShape::Read(const std::string& path, const std::vector<int>& notedPieces, int endPiece) {
  // A pipe or a device is not read a second time (the reader refuses it or has emptied it).
  if (!IsRegularFile(path)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  m_notedPieces = notedPieces;
  m_endPiece = endPiece;
  char chunk[64 * 1024];
  std::size_t got;
  bool first = true;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (first) LookAtStart(chunk, got);
    first = false;
    for (std::size_t i = 0; i < got; ++i) Take(chunk[i]);
  }
  std::fclose(file);
  if (m_bPendingCr) {
    ++m_nLoneCr;
    TakeTextChar('\r');
  }
  if (m_length > 0) EndLine(false);
  return true;
}

int PhysicalLine::EditorLineAt(std::size_t offset) const {
  return number + static_cast<int>(std::lower_bound(loneCrs.begin(), loneCrs.end(), offset) - loneCrs.begin());
}

int CSonglistShape::FirstEditorLineOfPiece(int piece) const {
  const PhysicalLine* line = LineOfPiece(piece);
  return line != nullptr ? line->EditorLineAt(static_cast<std::size_t>(piece - line->firstPiece) * SONGLIST_LINE_PIECE)
                         : 0;
}

int CSonglistShape::LastEditorLineOfPiece(int piece) const {
  const PhysicalLine* line = LineOfPiece(piece);
  if (line == nullptr) return 0;
  const std::size_t end = std::min(line->length, static_cast<std::size_t>(piece - line->firstPiece + 1) * SONGLIST_LINE_PIECE);
  return std::min(line->EditorLineAt(end - 1), line->LastEditorLine());
}

const PhysicalLine* CSonglistShape::LineOfPiece(int piece) const {
  auto after = std::upper_bound(m_lines.begin(), m_lines.end(), piece,
                                [](int wanted, const PhysicalLine& line) { return wanted < line.firstPiece; });
  if (after == m_lines.begin()) return nullptr;
  const PhysicalLine& line = *(after - 1);
  return piece < line.firstPiece + line.pieces ? &line : nullptr;
}

void CSonglistShape::LookAtStart(const char* bytes, std::size_t size) {
  auto at = [&](std::size_t i) { return i < size ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
  m_bUtf8Mark = at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF;
  m_bUtf16 = LooksLikeUtf16(reinterpret_cast<const unsigned char*>(bytes), size);
}

// Text mode: CR LF arrives as LF; a CR alone stays.
void CSonglistShape::Take(char c) {
  if (m_bPendingCr) {
    m_bPendingCr = false;
    if (c != '\n') {
      ++m_nLoneCr;
      TakeTextChar('\r');
    }
  }
  if (c == '\r') {
    m_bPendingCr = true;
    return;
  }
  TakeTextChar(c);
}

void CSonglistShape::TakeTextChar(char c) {
  // Only a CR alone comes here; in UTF-16 it is half of a character.
  if (c == '\r' && !m_bUtf16) m_loneCrs.push_back(m_length);
  ++m_length;
  if (m_text.size() < KEPT_LINE_LIMIT) m_text += c;
  // Where this character falls in the pieces the reader reads the line in.
  const bool startsPiece = (m_length - 1) % SONGLIST_LINE_PIECE == 0;
  if (startsPiece) EndNulCut();
  if (m_bCutByNul && c != '\n') {
    if (c != '\0' && m_lostToNul.size() < KEPT_LINE_LIMIT) m_lostToNul += c;
  } else if (c == '\0' && !startsPiece && !m_bUtf16) {
    // A NUL that starts a piece ends the list instead, which is told with the list's end.
    m_bCutByNul = true;
  }
  if (c == '\n') EndLine(true);
}

void CSonglistShape::EndNulCut() {
  if (m_bCutByNul && !m_lostToNul.empty()) {
    m_nulCuts.push_back({m_editorLine + static_cast<int>(m_loneCrs.size()), m_lostToNul});
  }
  m_bCutByNul = false;
  m_lostToNul.clear();
}

void CSonglistShape::EndLine(bool endedByLineFeed) {
  EndNulCut();
  PhysicalLine line;
  line.number = m_editorLine;
  line.length = m_length;
  m_editorLine += static_cast<int>(m_loneCrs.size()) + (endedByLineFeed ? 1 : 0);
  line.loneCrs = std::move(m_loneCrs);
  m_loneCrs.clear();
  line.firstPiece = m_nextPiece;
  line.pieces = static_cast<int>((m_length + SONGLIST_LINE_PIECE - 1) / SONGLIST_LINE_PIECE);
  m_nextPiece += line.pieces;
  bool noted = false;
  while (m_noteIndex < m_notedPieces.size() && m_notedPieces[m_noteIndex] < m_nextPiece) {
    noted = true;
    ++m_noteIndex;
  }
  // The line that ended the list, and the lines after it, may be songs the run never reads.
  bool fromEnd = m_endPiece > 0 && line.firstPiece >= m_endPiece;
  if (fromEnd && std::any_of(m_text.begin(), m_text.end(), IsSeparatorByte)) {
    line.text = m_text;
    m_lines.push_back(std::move(line));
  } else if (noted) {
    m_lines.push_back(std::move(line));
  }
  m_length = 0;
  m_text.clear();
}

}  // namespace valmero
