// Expected print lines written out by hand: the text as the layout rules
// place it (blanks included), its style, its type and its id. Texts are
// written in UTF-8 here and turned into the Windows-1250 bytes the library
// prints.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "zumbra_printout_types.h"

inline std::ostream& operator<<(std::ostream& os, const pr_Line& l) {
  return os << "{id " << l.id << " '" << l.text << "' font " << l.fontSize << " bold " << l.bold
            << " negative " << l.negative << " type " << l.lineType << " picture " << l.pictureType
            << "}";
}

namespace zq::test {

// UTF-8 to Windows-1250 with the C library's converter.
inline std::string w1250(const std::string& utf8) {
  iconv_t cd = iconv_open("WINDOWS-1250", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "no WINDOWS-1250 converter";
    return {};
  }
  std::string in = utf8;
  std::string out(in.size() + 1, '\0');
  char* inPtr = &in[0];
  size_t inLeft = in.size();
  char* outPtr = &out[0];
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || inLeft != 0) {
    ADD_FAILURE() << "not representable in Windows-1250: " << utf8;
    return {};
  }
  out.resize(out.size() - outLeft);
  return out;
}

// The three placements, on a width of w characters (Windows-1250 text).
inline std::string leftIn(const std::string& text, size_t w) {
  return text.size() >= w ? text.substr(0, w) : text + std::string(w - text.size(), ' ');
}
inline std::string centreIn(const std::string& text, size_t w) {
  const size_t room = w - text.size();
  return std::string(room / 2, ' ') + text + std::string(room - room / 2, ' ');
}
inline std::string apartIn(const std::string& a, const std::string& b, size_t w) {
  return a + std::string(w - a.size() - b.size(), ' ') + b;
}

struct GoldenLine {
  std::string text;  // Windows-1250
  uint32_t id = 0;
  uint32_t fontSize = PR_FONT_NORMAL;
  bool bold = false;
  bool negative = false;
  uint32_t lineType = PR_LINE_TEXT;
  uint32_t pictureType = 0;
};

// The styles the printouts use.
inline GoldenLine boldLine(const std::string& text, uint32_t id) {
  GoldenLine line{text, id};
  line.bold = true;
  return line;
}
inline GoldenLine bigLine(const std::string& text, uint32_t id) {
  GoldenLine line{text, id};
  line.fontSize = PR_FONT_BIG;
  return line;
}
inline GoldenLine bigBoldLine(const std::string& text, uint32_t id) {
  GoldenLine line = bigLine(text, id);
  line.bold = true;
  return line;
}
inline GoldenLine pictureLine(uint32_t id, pr_PictureType type) {
  GoldenLine line{"", id};
  line.lineType = PR_LINE_PICTURE;
  line.pictureType = type;
  return line;
}

inline bool operator==(const GoldenLine& expected, const pr_Line& line) {
  return expected.text == std::string(line.text) && expected.id == line.id &&
         expected.fontSize == line.fontSize && expected.bold == (line.bold == 1) &&
         expected.negative == (line.negative == 1) && expected.lineType == line.lineType &&
         expected.pictureType == line.pictureType && (line.bold == 0 || line.bold == 1) &&
         (line.negative == 0 || line.negative == 1);
}

inline std::ostream& operator<<(std::ostream& os, const GoldenLine& l) {
  return os << "{id " << l.id << " '" << l.text << "' font " << l.fontSize << (l.bold ? " bold" : "")
            << (l.negative ? " negative" : "") << " type " << l.lineType << " picture "
            << l.pictureType << "}";
}

inline std::vector<GoldenLine> join(std::vector<GoldenLine> head, const std::vector<GoldenLine>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Compares line by line, so a failure names the first lines that differ.
inline void expectLines(const std::vector<pr_Line>& actual, const std::vector<GoldenLine>& expected) {
  EXPECT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
    EXPECT_TRUE(expected[i] == actual[i]) << "line " << i << "\n  expected " << expected[i]
                                          << "\n  actual   " << actual[i];
  }
  for (size_t i = expected.size(); i < actual.size(); ++i) ADD_FAILURE() << "extra line " << actual[i];
  for (size_t i = actual.size(); i < expected.size(); ++i) ADD_FAILURE() << "missing line " << expected[i];
}

}  // namespace zq::test
