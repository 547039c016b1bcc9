#include "printouts/documents/Batch.h"

#include <algorithm>
#include <cinttypes>
#include <limits>

#include "core/Converters.h"
#include "core/TagNames.h"
#include "core/zumbra_log.h"
#include "printouts/documents/BatchEntryExtractor.h"
#include "printouts/documents/CommonDataExtractor.h"
#include "printouts/documents/ReportEntriesExtractor.h"
#include "printouts/engine/PrintDictionary.h"

namespace zq::app::printouts {

namespace {

// The key of a transaction type; a reversal counts under the voids of the
// type it voided.
pr_Dictionary keyOf(ecr_transactionType type, bool voided) {
  int key = 0;
  switch (type) {
    case ECR_TRANSACTION_PURCHASE:
    case ECR_TRANSACTION_CASHBACK: key = PR_DICT_BATCH_SALES; break;
    case ECR_TRANSACTION_REFUND: key = PR_DICT_BATCH_REFUNDS; break;
    case ECR_TRANSACTION_COMPLETION: key = PR_DICT_BATCH_COMPLETIONS; break;
    case ECR_TRANSACTION_PREAUTH: key = PR_DICT_BATCH_PREAUTHORIZATIONS; break;
    default:
      logBusError("Unexpected transaction type 0x%02X", static_cast<unsigned>(type));
      return PR_DICT_UNKNOWN;
  }
  return static_cast<pr_Dictionary>(voided ? key + 1 : key);
}

// At least six digits, zero-padded.
void storeSlip(EcrCtx_s* ecr, TlvTag tag, uint64_t number) {
  const std::string text = utils::uint64ToAscii(number, 6, '0');
  ecr_setTag(ecr, tag, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace

void Batch::TransactionsSummary::increment(uint64_t amount) {
  ++number;
  summary += amount;
}

std::string Batch::TransactionsSummary::getName() const { return PrintDictionary::phrase(name); }

Batch::Batch() {
  for (pr_Dictionary key :
       {PR_DICT_UNKNOWN, PR_DICT_BATCH_SALES, PR_DICT_BATCH_SALE_VOIDS, PR_DICT_BATCH_REFUNDS,
        PR_DICT_BATCH_REFUND_VOIDS, PR_DICT_BATCH_COMPLETIONS, PR_DICT_BATCH_COMPLETION_VOIDS,
        PR_DICT_BATCH_PREAUTHORIZATIONS, PR_DICT_BATCH_PREAUTHORIZATION_VOIDS, PR_DICT_BATCH_CASHBACK}) {
    summaries.emplace(key, TransactionsSummary(key));
  }
}

Batch::TransactionsSummary& Batch::getSummary(pr_Dictionary key) {
  return summaries.emplace(key, TransactionsSummary(key)).first->second;
}

bool Batch::addTransaction(EcrCtx_s* ecr) {
  this->ecr = ecr;

  ecr_transactionType type = ECR_TRANSACTION_NONE;
  ecr_status status = ecr_readTransactionType(ecr, &type);
  const bool voided = status == ECR_OK && type == ECR_TRANSACTION_REVERSAL;
  if (voided) status = ecr_readOriginalTransactionType(ecr, &type);
  pr_Dictionary key = PR_DICT_UNKNOWN;
  if (status != ECR_OK) {
    logBusError("Transaction type missing status 0x%02X, transaction marked as UNKNOWN",
                static_cast<unsigned>(status));
    logBusError("Unexpected transaction type 0x%02X", static_cast<unsigned>(ECR_TRANSACTION_NONE));
    type = ECR_TRANSACTION_NONE;
  } else {
    key = keyOf(type, voided);
  }

  char text[ECR_AMOUNT_SIZE] = {};
  status = ecr_readTransactionAmountInTerminalCurrency(ecr, text);
  if (status == ECR_NO_DATA) {
    std::fill(text, text + ECR_AMOUNT_SIZE, '\0');
    status = ecr_readTransactionAmount(ecr, text);
  }
  if (status != ECR_OK) {
    logBusError("Unable to extract transaction amount, status 0x%02X", static_cast<unsigned>(status));
    return false;
  }
  text[ECR_AMOUNT_SIZE - 1] = '\0';
  const utils::Optional<uint64_t> amount = utils::asciiToUint64(text);
  if (!amount.isPresent()) {
    logBusError("Amount %s invalid", text);
    return false;
  }

  // The amount of a cashback transaction includes the cashback.
  utils::Optional<uint64_t> cashback;
  if (type == ECR_TRANSACTION_CASHBACK) cashback = handleCashbackAmount();
  if (cashback.isPresent() && *cashback > *amount) {
    logBusError("Cashback amount %" PRIu64 " exceeds transaction amount %" PRIu64, *cashback, *amount);
    return false;
  }

  uint64_t slip = 0;
  if (!checkSlipNumbers(ecr, slip)) return false;

  const uint64_t cash = cashback.isPresent() ? *cashback : 0;
  getSummary(key).increment(*amount - cash);
  if (cashback.isPresent()) getSummary(PR_DICT_BATCH_CASHBACK).increment(cash);
  firstSlip = std::min(firstSlip, slip);
  lastSlip = std::max(lastSlip, slip);
  return true;
}

utils::Optional<uint64_t> Batch::handleCashbackAmount() const {
  char text[ECR_AMOUNT_SIZE] = {};
  if (ecr_readTransactionCashback(ecr, text) != ECR_OK) return utils::Optional<uint64_t>();
  text[ECR_AMOUNT_SIZE - 1] = '\0';
  const utils::Optional<uint64_t> cashback = utils::asciiToUint64(text);
  if (!cashback.isPresent()) logBusError("Cashback amount %s invalid", text);
  return cashback;
}

bool Batch::checkSlipNumbers(EcrCtx_s* ecr, uint64_t& slip) const {
  const std::string text = CommonDataExtractor().getTag(ecr, tlv::TAG_AUTHORIZATION_MESSAGE_NUMBER);
  const utils::Optional<uint64_t> number = utils::asciiToUint64(text);
  if (!number.isPresent()) {
    logBusError("Slip number %s invalid", text.c_str());
    return false;
  }
  slip = *number;
  return true;
}

void Batch::setSlips(EcrCtx_s* ecr) const {
  // Receipt 0 has no number below it; the range then starts at 0 itself.
  const uint64_t below = firstSlip == 0 ? 0 : firstSlip - 1;
  const uint64_t above = lastSlip == std::numeric_limits<uint64_t>::max() ? lastSlip : lastSlip + 1;
  storeSlip(ecr, tlv::TAG_SEQUENCE_NUMBER_FIRST_TRANSACTION, below);
  storeSlip(ecr, tlv::TAG_SEQUENCE_NUMBER_LAST_TRANSACTION, above);
}

std::string Batch::getSendingStatusText() const {
  const ecr_batchStatus status = CommonDataExtractor().getBatchStatus(ecr);
  return PrintDictionary::phrase(status < ECR_BATCH_STATUS_3 ? PR_DICT_SENDING_OK : PR_DICT_SENDING_FAILED);
}

uint32_t Batch::generateBatch(PrintoutCtx_s* ctx, EcrCtx_s* ecr) {
  this->ctx = ctx;
  this->ecr = ecr;
  const std::string status = getSendingStatusText();
  PrintoutCtx_s::addStandardBoldCenterLineToCtx(RawLineTexts(status));
  PrintoutCtx_s::addStandardBoldLeftLineToCtx(
      RawLineTexts(RawLineTexts::getPair(PR_DICT_BATCH_SUMMARY, std::string())));
  ReportEntriesExtractor::addColumnHeader();
  handleBatchEntriesAndSummary();
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string()));
  PrintoutCtx_s::addStandardBoldCenterLineToCtx(RawLineTexts(status));
  return 0;
}

void Batch::handleBatchEntriesAndSummary() {
  const unsigned width = ctx->normalLineLen;
  // Every row, also those that counted nothing.
  for (pr_Dictionary key : {PR_DICT_BATCH_SALES, PR_DICT_BATCH_SALE_VOIDS, PR_DICT_BATCH_REFUNDS,
                            PR_DICT_BATCH_REFUND_VOIDS, PR_DICT_BATCH_COMPLETIONS,
                            PR_DICT_BATCH_COMPLETION_VOIDS}) {
    BatchEntryExtractor().addEntryToPrintout(getSummary(key), width);
  }
  // The terminal's own count and sum of the day.
  BatchSummaryExtractor().addEntryToPrintout(ecr, width);
  for (pr_Dictionary key :
       {PR_DICT_BATCH_CASHBACK, PR_DICT_BATCH_PREAUTHORIZATIONS, PR_DICT_BATCH_PREAUTHORIZATION_VOIDS}) {
    BatchEntryExtractor().addEntryToPrintout(getSummary(key), width);
  }
}

void Batch::dbgDump() {
  logBusDebug("  Transaction type |      number       |        amount");
  for (const auto& entry : summaries) {
    const TransactionsSummary& summary = entry.second;
    logBusDebug("%18s |      %6u      |    %12" PRIu64, summary.getName().c_str(),
                static_cast<unsigned>(summary.getNumber()), summary.getSummary());
  }
}

}  // namespace zq::app::printouts
