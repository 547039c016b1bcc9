// A terminal context without a terminal, whose data the tests plant as the
// terminal would have left it, and a printout context that the line adders are
// bound to, with the engine's process-wide state put back after every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "api/EcrCtx.h"
#include "api/EcrTestHelpers.h"
#include "core/TagNames.h"
#include "printouts/engine/EngineState.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"
#include "protocol/TalvorenProtocol.h"
#include "zumbra_ecr.h"

namespace zq::test {

using Bytes = std::vector<unsigned char>;

inline Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline std::string trimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

class DocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recordHostLogs();
    ASSERT_EQ(ecr_initialize(&ecr), ECR_OK);
    ecr_setProtocol(ecr, 0);
    // A refused link still counts: the readers never talk to the terminal.
    ASSERT_EQ(ecr_setTcpIpLink(ecr, "127.0.0.1", refusedPort(), 300), ECR_COMM_ERROR);
    journal().clear();
  }
  void TearDown() override { ecr_cleanup(&ecr); }

  zq::app::protocols::TalvorenCtx& store() {
    return static_cast<zq::app::protocols::TalvorenProtocol*>(ecr->protocol.get())->getCtx();
  }
  // Plants a tag as the terminal would have left it, through the exported
  // setter; an empty value cannot be planted (the store ignores it).
  void set(TlvTag tag, const Bytes& value) {
    ASSERT_EQ(ecr_setTag(ecr, tag, value.data(), value.size()), ECR_OK);
  }
  void setText(TlvTag tag, const std::string& value) { set(tag, bytesOf(value)); }
  // Empties the protocol store again.
  void clearStore() {
    ecr_setProtocol(ecr, 0);
    journal().clear();
  }

  // The lines of the printout so far, as their 64 text bytes hold them.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const pr_Line& line : printout.lines) out.emplace_back(line.text);
    return out;
  }
  std::vector<std::string> trimmedTexts() const {
    std::vector<std::string> out;
    for (const std::string& t : texts()) out.push_back(trimRight(t));
    return out;
  }
  // Without the blanks a layout put around the text.
  std::vector<std::string> strippedTexts() const {
    std::vector<std::string> out;
    for (const std::string& t : trimmedTexts()) {
      const size_t start = t.find_first_not_of(' ');
      out.push_back(start == std::string::npos ? std::string() : t.substr(start));
    }
    return out;
  }
  std::vector<uint32_t> ids() const {
    std::vector<uint32_t> out;
    for (const pr_Line& line : printout.lines) out.push_back(line.id);
    return out;
  }
  void clearLines() { printout.lines.clear(); }

  bool busLogged(const std::string& message) const { return !hostLinesWith("bus", message).empty(); }
  bool devLogged(const std::string& message) const { return !hostLinesWith("dev", message).empty(); }
  size_t busCount(const std::string& message) const { return hostLinesWith("bus", message).size(); }

  static std::string phrase(pr_Dictionary id) {
    return zq::app::printouts::PrintDictionary::phrase(id);
  }
  static void setPhrase(pr_Dictionary id, const std::string& text) {
    zq::app::printouts::PrintDictionary::getInstance().set(id, text);
  }

  EngineState engine;
  PrintoutCtx_s printout;
  EcrCtx_s* ecr = nullptr;
};

}  // namespace zq::test
