// The printout functions of the transaction receipts: a builder made for the
// call, which lives as long as its receipt.
#include <cstdint>

#include "printouts/documents/FiscalTransactionPrintoutBuilder.h"
#include "printouts/documents/PrintoutClaim.h"
#include "printouts/documents/StandardTransactionPrintoutBuilder.h"
#include "printouts/engine/PrintDictionary.h"
#include "zumbra_printout.h"

using zq::app::printouts::PrintDictionary;

namespace {

template <class Builder>
uint32_t prepareReceipt(const char* function, PrintoutCtx_s* ctx, EcrCtx_s* ecr, bool customerCopy) {
  return zq::app::printouts::claimedPrintout(function, ctx, ecr, [&]() -> uint32_t {
    // A receipt broken off half-way must not leave the next printout in
    // English. Only a receipt that ran may touch the switch: a refused one
    // would turn it off under the receipt that holds it. The dictionary is
    // made (it may run out of memory) before the receipt, so that turning
    // the switch off cannot fail.
    struct DccOff {
      PrintDictionary& dictionary;
      ~DccOff() { dictionary.setDcc(false); }
    } dccOff{PrintDictionary::getInstance()};
    Builder builder;
    return builder.prepareTransactionPrintout(ctx, ecr, customerCopy);
  });
}

}  // namespace

uint32_t pr_prepareTransactionPrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr, bool customerCopy) {
  return prepareReceipt<zq::app::printouts::StandardTransactionPrintoutBuilder>(__func__, ctx, ecr,
                                                                                 customerCopy);
}

uint32_t pr_prepareTransactionFiscalPrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr, bool customerCopy) {
  return prepareReceipt<zq::app::printouts::FiscalTransactionPrintoutBuilder>(__func__, ctx, ecr,
                                                                               customerCopy);
}
