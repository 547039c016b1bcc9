// The certificate enrollment classes as certmint drives them: by ProgID and
// by the names of their properties and methods (IDispatch late binding), so
// no interface declaration of them is needed and a fake can stand in.
#ifndef ZQ_TPM_CERTMINT_AUTOMATION_H
#define ZQ_TPM_CERTMINT_AUTOMATION_H

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "common/HResult.h"

namespace zq::tpm::certmint {

class DispatchObject;

// One argument: a long, a string (null is allowed) or an object of the same
// Automation, lent for the call.
using Argument = std::variant<std::int32_t, const char16_t*, DispatchObject*>;

// One COM object; destroying it releases it.
class DispatchObject {
 public:
  virtual ~DispatchObject() = default;

  virtual HResult put(const char16_t* property, const Argument& value) = 0;
  virtual HResult getObject(const char16_t* property, std::unique_ptr<DispatchObject>* value) = 0;
  // Calls a method; its string result goes to *text when text is not null.
  virtual HResult call(const char16_t* method, const std::vector<Argument>& arguments, std::u16string* text) = 0;
};

class Automation {
 public:
  virtual ~Automation() = default;

  // CoInitializeEx in the multithreaded apartment; a success is undone by uninitialize.
  virtual HResult initialize() = 0;
  virtual void uninitialize() = 0;
  // CoCreateInstance, in-process, of the class the ProgID names.
  virtual HResult create(const char16_t* progId, std::unique_ptr<DispatchObject>* object) = 0;
};

}  // namespace zq::tpm::certmint

#endif
