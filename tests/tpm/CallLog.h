// The calls a fake platform received, in order, and the failures a test
// injects into them: the nth call of a name answers the code given.
#ifndef ZQ_TESTS_TPM_CALL_LOG_H
#define ZQ_TESTS_TPM_CALL_LOG_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zq::tpm::testing {

class CallLog {
 public:
  void failAt(const std::string& name, std::int32_t code, int nth = 1);
  // Logs "name" (or "name detail") and answers the injected code, 0 when none.
  std::int32_t record(const std::string& name, const std::string& detail = "");

  const std::vector<std::string>& calls() const { return calls_; }
  // Where the first injected failure struck, -1 when none did.
  int firstFailure() const { return firstFailure_; }
  void clear();

 private:
  std::vector<std::string> calls_;
  std::map<std::string, int> counts_;
  std::map<std::pair<std::string, int>, std::int32_t> failures_;
  int firstFailure_ = -1;
};

// UTF-8 of UTF-16 text for the log; "(null)" for null.
std::string utf8(const char16_t* text);
std::string utf8(const std::u16string& text);
std::string hex(std::uint32_t value);

}  // namespace zq::tpm::testing

#endif
