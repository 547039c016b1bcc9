#include "printouts/documents/PrintoutBuilder.h"

#include <string>

#include "core/zumbra_log.h"
#include "printouts/documents/ExtractorWithReadingTerminalInfo.h"
#include "printouts/engine/AdvancedLineBuilder.h"

namespace zq::app::printouts {

uint32_t PrintoutBuilder::init(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  if (ctx == nullptr || ecr == nullptr) {
    logBusError("NULL CTX argument provided");
    return PRINTOUT_NULL_CTX;
  }
  this->ctx = ctx;
  this->ecr = ecr;
  // The adders follow the newest context; a printout built on an older one
  // still gets its lines, laid out on its own widths.
  PrintoutCtx_s::bindLineAdders(ctx);
  return PRINTOUT_OK;
}

uint32_t PrintoutBuilder::preparePrintout(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  const uint32_t status = init(ctx, ecr);
  if (status != PRINTOUT_OK) return status;
  logBusInfo("Generate %s printout", getPrintoutName());
  this->ctx->lines.clear();
  this->ctx->nextLine = 0;
  prepareBasicPrintoutInformation();
  handleHeaderLogo();
  if (!PrintoutCtx_s::hideAddress_) handleAddressLines();
  // Read also where a printout does not show them.
  tid = TidExtractor().getData(this->ecr);
  mid = MidExtractor().getData(this->ecr);
  prepareTidAndMidPart();
  return PRINTOUT_OK;
}

void PrintoutBuilder::finishPrintout() {
  handleDateAndTimePart();
  handleAdditionalFooterPart();
  handleFooterLogo();
  logBusInfo("Printout generation succeded, %u lines available",
             static_cast<unsigned>(ctx->lines.size()));
}

void PrintoutBuilderWithLogos::addLogoToPrintout(pr_PictureType type) {
  pr_Line line{};
  line.id = static_cast<uint32_t>(ctx->lines.size());
  line.lineType = PR_LINE_PICTURE;
  line.pictureType = type;
  ctx->add(line);
}

void PrintoutBuilderWithLogos::handleHeaderLogo() { addLogoToPrintout(PR_PICTURE_HEADER_LOGO); }

void PrintoutBuilderWithLogos::handleFooterLogo() { addLogoToPrintout(PR_PICTURE_FOOTER_LOGO); }

void PrintoutBuilderWithLogos::handleAddressLines() const {
  AddressExtractor().handleExtractedData(ecr);
}

void PrintoutBuilderWithLogos::handleDateAndTimePart() const {
  auto addPair = [this](pr_Dictionary dateLabel, pr_Dictionary timeLabel) {
    TwoEntryLineBrokenBuilder::get().buildLine(
        RawLineTexts(RawLineTexts::getPair(dateLabel, date), RawLineTexts::getPair(timeLabel, time)),
        ctx->normalLineLen);
  };
  addPair(PR_DICT_DATE, PR_DICT_TIME);
  if (ctx->multilang) addPair(PR_DICT_DATE_EN, PR_DICT_TIME_EN);
}

void PrintoutBuilderWithoutLogos::handleAddressLines() const {
  FiscalAddressExtractor().handleExtractedData(ecr);
}

void PrintoutBuilderWithoutLogos::handleDateAndTimePart() const {
  for (const std::string& text :
       {RawLineTexts::getPair(PR_DICT_DATE, date), RawLineTexts::getPair(PR_DICT_TIME, time)}) {
    PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(text), PR_FISCAL_GENERIC);
  }
}

void StandardEmptyLine::addEmptyLine() const {
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string()));
}

void FiscalEmptyLine::addEmptyLine() const {
  PrintoutCtx_s::addFiscalSimpleUnformattedLineToCtx(RawLineTexts(std::string()), PR_FISCAL_GENERIC);
}

}  // namespace zq::app::printouts
