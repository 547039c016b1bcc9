// The printout functions of the transaction receipts: a builder made for the
// call, which lives as long as its receipt.
#include <cstdint>

#include "core/ExportGuard.h"
#include "printouts/documents/FiscalTransactionPrintoutBuilder.h"
#include "printouts/documents/StandardTransactionPrintoutBuilder.h"
#include "printouts/engine/PrintDictionary.h"
#include "zumbra_printout.h"

using zq::app::printouts::PRINTOUT_NULL_CTX;
using zq::app::printouts::PrintDictionary;
using zq::app::utils::guardExport;

namespace {

template <class Builder>
uint32_t prepareReceipt(const char* function, PrintoutCtx_s* ctx, EcrCtx_s* ecr, bool customerCopy) {
  const uint32_t status = guardExport(function, static_cast<uint32_t>(PRINTOUT_NULL_CTX), [&]() -> uint32_t {
    Builder builder;
    return builder.prepareTransactionPrintout(ctx, ecr, customerCopy);
  });
  // A receipt broken off half-way must not leave the next printout in English.
  PrintDictionary::getInstance().setDcc(false);
  return status;
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
