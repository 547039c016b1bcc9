// Shared by the reply targets: a library context holding what the requests
// need (indices, operator identifier), and one parse of a reply by a message
// made fresh for it, as the flows do.
#pragma once

#include <memory>

#include "core/TagNames.h"
#include "fuzz/FuzzSupport.h"
#include "protocol/TalvorenCtx.h"

namespace zq::fuzz {

using namespace zq::app::protocols;

class Library {
 public:
  Library() {
    ApiSubCtx& api = ctx.getApiCtx();
    api.setCashRegisterNumber('1');
    api.setTransactionIndex(42);
    api.setTagValue(app::tlv::TAG_TERMINAL_INDEX, {'2'});
    api.setTagValue(app::tlv::TAG_CARDSET_ID, {'3'});
    api.setTagValue(app::tlv::TAG_CURRENCY_ID, {'4'});
    api.setEVOperatorId({'O', 'P', '1'});
  }

  MaintenanceSubCtx& maintenance() { return ctx.getMaintenanceCtx(); }
  TransactionSubCtx& transaction() { return ctx.getTransactionCtx(); }
  ReportSubCtx& report() { return ctx.getReportCtx(); }

  // The reply parsed by a message built for it first.
  template <typename Message, typename... Views>
  bool parse(const Bytes& reply, Views&... views) {
    Message message(maintenance(), views...);
    message.build();
    return message.parse(reply);
  }

  TalvorenCtx ctx;
};

}  // namespace zq::fuzz
