// Fleet-card lines of a receipt: the products sold (name, then quantity
// times unit price equals amount), the vehicle and driver data entered at
// the terminal, and a signature block when the card asks for one. Standard
// lines on both the standard and the fiscal receipt.
#pragma once

#include <string>

#include "core/zumbra_tlv_store.h"
#include "printouts/documents/ExtractorWithBuildingAmountLine.h"

namespace zq::app::printouts {

class FleetCardDataExtractor : public ExtractorWithBuildingAmountWithoutCurrency {
 public:
  ~FleetCardDataExtractor() override = default;

  // Two lines per product; nothing for a card that is not a fleet card.
  void addFleetCardReceiptItemsToPrintout(EcrCtx_s* ecr);
  // One labelled line per fleet data field the terminal returned.
  void addAFleetCardDataToPrintout(EcrCtx_s* ecr);
  // Dotted line with the cashier's and the customer's label under it.
  void addFleetCardSignatureDataToPrintout(EcrCtx_s* ecr, unsigned int width);

  void addPrintoutProductLines(EcrCtx_s* ecr, TlvStore_s* item);
  std::string buildPrintoutProductName(EcrCtx_s* ecr, TlvTag tag, TlvStore_s* item);
  std::string buildPrintoutProductQuantity(TlvTag tag, TlvStore_s* item);
  std::string buildPrintoutProductAmount(TlvTag tag, TlvStore_s* item);
  bool isFleetCardIndicator(EcrCtx_s* ecr);
  bool isFleetCardSignature(EcrCtx_s* ecr);
  void addEmptyLine() const;
};

}  // namespace zq::app::printouts
