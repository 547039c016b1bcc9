// The envelope shared by every numbered Talvoren message, with the builders
// of a request and the field readers of a reply.
//
// Request: ID (two digits), FS, the cash-register byte, then the message's
// own fields, each after an FS.
// Reply:   ID, FS, the function return code (1 or 2 digits); after a
// non-zero code an optional FS and error description, after a zero code the
// message's own fields, each after an FS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Optional.h"
#include "protocol/TalvorenMessageInterface.h"

namespace zq::app::protocols {

class CommonMessage : public TalvorenMessageInterface {
 public:
  static constexpr unsigned char FS = 0x1C;
  static constexpr unsigned char ETX = 0x03;

  explicit CommonMessage(MaintenanceSubCtx& maintenanceCtx)
      : TalvorenMessageInterface(maintenanceCtx), readPosition(0) {}

  std::vector<unsigned char> build() override;
  bool parse(const std::vector<unsigned char>& reply) override;

 protected:
  // Appends the message's own request fields; false refuses the request.
  virtual bool buildMessageSpecificPart() = 0;
  // Reads the message's own reply fields from the read position.
  virtual bool parseMessageSpecificPart() = 0;

  void copyId();
  void addFsToData();
  void addVectorToData(const std::vector<unsigned char>& bytes);
  void addStringToData(const std::string& text);
  // Appends FS and a stored identifier (the decimal text its setter
  // stores) when the setter's check would take it: a request never carries
  // a value the host could not have set. Absent, it logs `missingText`;
  // refused, why. Either way false: the request is not built.
  bool addIdentifierToData(const utils::Optional<std::vector<unsigned char>>& stored,
                           bool (*accepted)(const unsigned int&), const char* missingText);

  bool isNotFsOnIterator() const;
  bool isNotEtxOnIterator() const;
  bool isIteratorOnDataEnd() const;

  // Each reader expects an FS first, then reads at most its number of
  // characters up to the next FS or the end; it fails with fewer than
  // `minimum` digits. The destination is written only on success.
  bool extractTwoByteInt(uint32_t& value, size_t minimum);
  bool extractFourByteInt(uint32_t& value, size_t minimum);
  bool extractEightByteInt(uint32_t& value, size_t minimum);
  bool extractTwelveByteInt(uint64_t& value, size_t minimum);
  bool extractSixteenByteInt(uint64_t& value, size_t minimum);
  bool extractTwoByteHexInt(uint32_t& value, size_t minimum);
  bool extractFourByteHexInt(uint32_t& value, size_t minimum);
  bool extractTwelveByteSignedInt(int64_t& value, size_t minimum);
  bool extractFunctionCode(uint32_t& value);
  // Append the field's bytes to `text`; an empty field is a success.
  bool extractString(std::string& text);
  bool extractString_Etx(std::string& text);

  bool checkArgumentPresence();
  bool checkId();
  bool checkReturnCode(bool& nonZero);

  std::vector<unsigned char> data;
  size_t readPosition;

 private:
  bool extractNumber(uint64_t& value, size_t maxCharacters, unsigned base, bool signAllowed,
                     size_t minimum, bool& negative);
  bool extractText(std::string& text, bool stopAtEtx);
};

}  // namespace zq::app::protocols
