// The shape of a songlist file as a person sees it: its encoding, its line
// ends, and which of its lines hold the pieces the reader numbers. The reader
// reads lines in pieces of at most 259 characters, ending at a line feed, and
// numbers the pieces; a person counts lines as an editor shows them, ended by
// a line feed, a CR LF or a CR alone.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace valmero {

// A songlist line is read in pieces of at most this many characters, its
// line feed included.
constexpr std::size_t SONGLIST_LINE_PIECE = 259;

// A line as the reader sees it: up to a line feed.
struct PhysicalLine {
  int number = 0;      // the editor's line it starts on, from 1
  int firstPiece = 0;  // the reader's number of its first piece
  int pieces = 0;
  std::size_t length = 0;
  std::vector<std::size_t> loneCrs;  // where in it a CR alone ends an editor's line
  std::string text;  // kept only from the line that ended the list on, for lines with a separator

  // The editor's line at a place in this line, and the last one it spans.
  int EditorLineAt(std::size_t offset) const;
  int LastEditorLine() const { return number + static_cast<int>(loneCrs.size()) - (EndsInLoneCr() ? 1 : 0); }
  bool EndsInLoneCr() const { return !loneCrs.empty() && loneCrs.back() + 1 == length; }
};

// A line whose NUL byte (not at its start) ends what the reader sees of it:
// the reader takes a line as text up to its first NUL.
struct NulCutLine {
  int number = 0;    // the editor's line, from 1
  std::string lost;  // what follows the NUL up to the end of the piece read
};

class CSonglistShape {
 public:
  bool m_bUtf8Mark = false;
  bool m_bUtf16 = false;
  std::size_t m_nLoneCr = 0;
  // Lines cut short by a NUL byte (not looked for in a UTF-16 file).
  std::vector<NulCutLine> m_nulCuts;
  // The lines holding a noted piece, and the song lines from the end of the list on.
  std::vector<PhysicalLine> m_lines;

  // Reads the file once, in text mode as the reader does (CR LF as LF).
  // notedPieces: the pieces that interest the caller, ascending; endPiece:
  // the piece that ended the list (0: none). False when the file is not a
  // regular file that can be opened.
  bool Read(const std::string& path, const std::vector<int>& notedPieces, int endPiece);

  // The line that holds a piece; null when it was not noted.
  const PhysicalLine* LineOfPiece(int piece) const;
  // The editor's line where a piece starts, and the last one it spans (a
  // piece spans several where CRs alone end lines); 0 when not noted.
  int FirstEditorLineOfPiece(int piece) const;
  int LastEditorLineOfPiece(int piece) const;

 private:
  void LookAtStart(const char* bytes, std::size_t size);
  void Take(char c);
  void TakeTextChar(char c);
  void EndLine(bool endedByLineFeed);
  void EndNulCut();

  std::vector<int> m_notedPieces;
  std::size_t m_noteIndex = 0;
  int m_endPiece = 0;
  int m_editorLine = 1;  // where the line being read starts
  std::vector<std::size_t> m_loneCrs;
  int m_nextPiece = 1;
  std::size_t m_length = 0;
  std::string m_text;
  bool m_bPendingCr = false;
  // While a NUL byte has cut the current piece: what it cut off.
  bool m_bCutByNul = false;
  std::string m_lostToNul;
};

}  // namespace valmero
