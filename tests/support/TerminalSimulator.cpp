#include "support/TerminalSimulator.h"

#include <cstdio>
#include <cstdlib>

namespace zq::test {

namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The keyword and the argument after its one separating space.
void splitDirective(const std::string& line, std::string& keyword, std::string& argument) {
  const size_t space = line.find(' ');
  keyword = line.substr(0, space);
  argument = space == std::string::npos ? std::string() : line.substr(space + 1);
}

// A whole non-negative number of milliseconds, nothing after it.
bool readMilliseconds(const std::string& text, int& ms) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || value < 0 || value > 3600000) return false;
  ms = static_cast<int>(value);
  return true;
}

}  // namespace

PeerStep TerminalSimulator::step(const Bytes& request, const Bytes& reply) {
  PeerStep s;
  s.expect = request;
  s.reply = reply;
  return s;
}

PeerStep TerminalSimulator::anyRequest(const Bytes& reply) {
  PeerStep s;
  s.reply = reply;
  return s;
}

TerminalSimulator::Bytes TerminalSimulator::fields(std::initializer_list<std::string> parts) {
  Bytes message;
  bool first = true;
  for (const std::string& part : parts) {
    if (!first) message.push_back(FS);
    message.insert(message.end(), part.begin(), part.end());
    first = false;
  }
  return message;
}

bool TerminalSimulator::unescape(const std::string& text, Bytes& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(static_cast<uint8_t>(text[i]));
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      out.push_back('\\');
      ++i;
      continue;
    }
    if (i + 3 < text.size() && text[i + 1] == 'x' && hexDigit(text[i + 2]) >= 0 &&
        hexDigit(text[i + 3]) >= 0) {
      out.push_back(static_cast<uint8_t>(hexDigit(text[i + 2]) * 16 + hexDigit(text[i + 3])));
      i += 3;
      continue;
    }
    return false;
  }
  return true;
}

std::string TerminalSimulator::escape(const Bytes& bytes) {
  std::string text;
  char hex[5];
  for (uint8_t b : bytes) {
    if (b == '\\') {
      text += "\\\\";
    } else if (b >= 0x20 && b < 0x7F) {
      text.push_back(static_cast<char>(b));
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      text += hex;
    }
  }
  return text;
}

bool TerminalSimulator::parseScript(std::istream& in, std::vector<PeerStep>& steps,
                                    std::string& error) {
  steps.clear();
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& reason) {
    error = "line " + std::to_string(number) + ": " + reason;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::string keyword;
    std::string argument;
    splitDirective(line, keyword, argument);
    if (keyword == "expect") {
      PeerStep s;
      if (argument != "*") {
        Bytes request;
        if (!unescape(argument, request)) return fail("malformed escape");
        s.expect = request;
      }
      steps.push_back(s);
      continue;
    }
    if (steps.empty()) return fail("'" + keyword + "' before the first 'expect'");
    PeerStep& s = steps.back();
    if (keyword == "reply" || keyword == "stray" || keyword == "raw") {
      Bytes bytes;
      if (!unescape(argument, bytes)) return fail("malformed escape");
      (keyword == "reply" ? s.reply : keyword == "stray" ? s.strayBefore : s.rawAfter) = bytes;
    } else if (keyword == "nak") {
      s.nakBefore = true;
    } else if (keyword == "silent") {
      s.silent = true;
    } else if (keyword == "badlrc") {
      s.badLrc = true;
    } else if (keyword == "eot") {
      s.eotAfter = true;
    } else if (keyword == "drop") {
      s.dropAfter = true;
    } else if (keyword == "drip") {
      if (!readMilliseconds(argument, s.dripMs) || s.dripMs <= 0) return fail("drip needs milliseconds above 0");
    } else if (keyword == "flood") {
      std::string ms;
      std::string pattern;
      splitDirective(argument, ms, pattern);
      Bytes bytes;
      if (!readMilliseconds(ms, s.floodMs) || !unescape(pattern, bytes) || bytes.empty()) {
        return fail("flood needs milliseconds and a message");
      }
      s.flood = bytes;
    } else if (keyword == "split") {
      char* end = nullptr;
      const long chunk = std::strtol(argument.c_str(), &end, 10);
      if (end == argument.c_str() || chunk <= 0) return fail("split needs a byte count above 0");
      s.splitChunk = static_cast<size_t>(chunk);
      if (*end == ' ') {
        const char* pause = end + 1;
        const long ms = std::strtol(pause, &end, 10);
        if (end == pause || ms < 0) return fail("split pause must be milliseconds");
        s.splitPauseMs = static_cast<int>(ms);
      }
      if (*end != '\0') return fail("trailing text after split");
    } else {
      return fail("unknown directive '" + keyword + "'");
    }
  }
  return true;
}

TerminalSimulator::Bytes TerminalSimulator::controlBytes() const {
  // Walks the received bytes as the simulator's frame cutter does: a frame
  // runs from STX to the first ETX and the LRC after it.
  const Bytes all = received();
  Bytes outside;
  size_t i = 0;
  while (i < all.size()) {
    if (all[i] != kStx) {
      outside.push_back(all[i]);
      ++i;
      continue;
    }
    size_t etx = i;
    while (etx < all.size() && all[etx] != kEtx) ++etx;
    i = etx + 2;
  }
  return outside;
}

}  // namespace zq::test
