#include "trustprobe/Trustprobe.h"

#include <cstdio>

#include "common/ConsoleReport.h"
#include "common/ScopeExit.h"

namespace zq::tpm::trustprobe {

namespace {

constexpr char16_t kNamespace[] = u"ROOT\\CIMV2\\Security\\MicrosoftTpm";
constexpr char16_t kQueryLanguage[] = u"WQL";
constexpr char16_t kQuery[] = u"SELECT * FROM Win32_Tpm";

// One byte per UTF-16 code unit, its low byte: the file keeps no code page.
std::string lowBytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t unit : text) bytes.push_back(static_cast<char>(unit & 0xFF));
  return bytes;
}

// Text mode: on Windows every line feed goes out as CR LF.
bool writeDescription(const char* path, const std::u16string& text) {
  std::FILE* file = std::fopen(path, "w");
  if (!file) return false;
  const std::string bytes = lowBytes(text);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // A full disk often shows only when the buffer is flushed on closing.
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace

bool queryTpmObjectText(TpmWmi& wmi, std::ostream& console, std::u16string* text) {
  HResult hr = wmi.initializeCom();
  if (failed(hr)) return reportFailure(console, "Failed to initialize COM library. Error code = 0x", hr);
  ScopeExit com([&] { wmi.uninitializeCom(); });

  hr = wmi.initializeSecurity();
  if (failed(hr)) return reportFailure(console, "Failed to initialize security. Error code = 0x", hr);

  hr = wmi.createLocator();
  if (failed(hr)) return reportFailure(console, "Failed to create IWbemLocator object. Err code = 0x", hr);
  ScopeExit locator([&] { wmi.releaseLocator(); });

  hr = wmi.connectServer(kNamespace);
  if (failed(hr)) {
    reportFailure(console, "Could not connect. Error code = 0x", hr);
    if (hr == kWbemAccessDenied) console << "access denied" << std::endl;
    return false;
  }
  ScopeExit services([&] { wmi.releaseServices(); });

  hr = wmi.setProxyBlanket();
  if (failed(hr)) return reportFailure(console, "Could not set proxy blanket. Error code = 0x", hr);

  hr = wmi.execQuery(kQueryLanguage, kQuery, kWqlQueryFlags);
  if (failed(hr)) return reportFailure(console, " Error code = 0x", hr);
  ScopeExit enumerator([&] { wmi.releaseEnumerator(); });

  // A machine without a TPM has no instance: nothing to say about it.
  if (wmi.nextObject() == 0) return false;
  ScopeExit object([&] { wmi.releaseObject(); });

  std::u16string description;
  hr = wmi.getObjectText(&description);
  if (failed(hr)) return reportFailure(console, "Failed to get the object text. Error code = 0x", hr);
  *text = std::move(description);
  return true;
}

int runTrustprobe(int argc, const char* const argv[], TpmWmi& wmi, std::ostream& console) {
  if (argc < 2) return 1;
  std::u16string description;
  if (!queryTpmObjectText(wmi, console, &description)) return 1;
  return writeDescription(argv[1], description) ? 0 : 1;
}

}  // namespace zq::tpm::trustprobe
