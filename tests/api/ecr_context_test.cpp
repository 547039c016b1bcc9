// The terminal context: its life cycle, the guard, link and protocol set-up,
// the mapping of protocol results and the last return code.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "support/LoopbackPeer.h"
#include "api/EcrCtx.h"
#include "core/ExportGuard.h"
#include "zumbra_ecr.h"

namespace {

using zq::app::protocols::Result;
using zq::test::hasLevel;
using zq::test::hostLinesWith;
using zq::test::journal;

constexpr uint32_t kShortTimeoutMs = 300;
constexpr uint32_t kUntouched = 0xDEADBEEF;
const std::vector<unsigned char> kTagValue = {0x12, 0x34};
constexpr TlvTag kAnyTag = 0x9FD201;

class EcrContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    journal().clear();
  }
  void TearDown() override { ecr_cleanup(&ctx); }

  // The one guarded function with a body of its own shows whether the guard
  // lets a call through: only then does it write the code.
  bool passesGuard() {
    uint32_t code = kUntouched;
    ecr_getLastReturnCode(ctx, &code);
    return code != kUntouched;
  }

  EcrCtx_s* ctx = nullptr;
};

enum class LinkKind { None, RefusedTcp, MissingSerial };

struct SetupCase {
  const char* name;
  bool setProtocol;
  uint32_t protocolId;
  LinkKind link;
  ecr_status linkStatus;  // what the link setter answers
  bool initialised;
  const char* linkLine;      // "Communication link status: ..." while not initialised
  const char* protocolLine;  // "Protocol status: ..."
};

TEST_F(EcrContextTest, GuardNeedsBothLinkAndProtocol) {
  const SetupCase cases[] = {
      {"nothing set", false, 0, LinkKind::None, ECR_OK, false, "uninitialized", "uninitialized"},
      {"protocol only", true, 0, LinkKind::None, ECR_OK, false, "uninitialized", "initialized"},
      {"refused TCP link only", false, 0, LinkKind::RefusedTcp, ECR_COMM_ERROR, false, "closed",
       "uninitialized"},
      {"refused TCP link and protocol", true, 0, LinkKind::RefusedTcp, ECR_COMM_ERROR, true, "", ""},
      {"missing serial device and protocol", true, 0, LinkKind::MissingSerial, ECR_ERROR, true, "",
       ""},
      {"invalid protocol id and a link", true, 1, LinkKind::RefusedTcp, ECR_COMM_ERROR, false,
       "closed", "uninitialized"},
  };
  for (const SetupCase& c : cases) {
    SCOPED_TRACE(c.name);
    ecr_cleanup(&ctx);
    ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
    if (c.setProtocol) ecr_setProtocol(ctx, c.protocolId);
    if (c.link == LinkKind::RefusedTcp) {
      EXPECT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), kShortTimeoutMs),
                c.linkStatus);
    } else if (c.link == LinkKind::MissingSerial) {
      EXPECT_EQ(ecr_setSerialLink(ctx, zq::test::missingSerialDevice(), COMM_8N1, COMM_BAUD_9600,
                                  kShortTimeoutMs),
                c.linkStatus);
    }
    journal().clear();
    EXPECT_EQ(passesGuard(), c.initialised);
    if (c.initialised) {
      EXPECT_TRUE(hostLinesWith("bus", "ECR context not initialized").empty());
    } else {
      const auto refused = hostLinesWith("bus", "ECR context not initialized");
      ASSERT_EQ(refused.size(), 1u);
      EXPECT_TRUE(hasLevel(refused[0], "ERROR"));
      EXPECT_EQ(hostLinesWith("bus", std::string("Communication link status: ") + c.linkLine).size(), 1u);
      EXPECT_EQ(hostLinesWith("bus", std::string("Protocol status: ") + c.protocolLine).size(), 1u);
    }
  }
}

TEST_F(EcrContextTest, RefusedConnectionIsReportedWithItsReasons) {
  const uint16_t port = zq::test::refusedPort();
  EXPECT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", port, kShortTimeoutMs), ECR_COMM_ERROR);
  EXPECT_EQ(hostLinesWith("bus", "Attempt to setup TCP/IP link to address 127.0.0.1").size(), 1u);
  const auto failed =
      hostLinesWith("bus", "Unable to establish connection to host 127.0.0.1:" + std::to_string(port));
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_TRUE(hasLevel(failed[0], "ERROR"));
  EXPECT_EQ(hostLinesWith("bus", "Connection status: Error(1)").size(), 1u);
  EXPECT_TRUE(hostLinesWith("bus", "Connection established").empty());
  // The new link stays, closed.
  ASSERT_NE(ctx->link, nullptr);
  EXPECT_FALSE(ctx->link->isOpen());
}

TEST_F(EcrContextTest, MissingSerialDeviceAnswersProcessingError) {
  EXPECT_EQ(ecr_setSerialLink(ctx, zq::test::missingSerialDevice(), COMM_7E1, COMM_BAUD_115200, 250),
            ECR_ERROR);
  EXPECT_EQ(hostLinesWith("bus", std::string("Attempt to setup serial link port ") +
                                     zq::test::missingSerialDevice() + " with timeout 250")
                .size(),
            1u);
  EXPECT_EQ(hostLinesWith("bus", std::string("Unable to open ") + zq::test::missingSerialDevice()).size(),
            1u);
  ASSERT_NE(ctx->link, nullptr);
  EXPECT_FALSE(ctx->link->isOpen());
}

TEST_F(EcrContextTest, OpenLinkClosesWithEotAndStaysInTheContext) {
  zq::test::LoopbackPeer peer;
  ecr_setProtocol(ctx, 0);
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", peer.port(), kShortTimeoutMs), ECR_OK);
  EXPECT_EQ(hostLinesWith("bus", "Connection established").size(), 1u);
  ASSERT_TRUE(peer.waitForConnections(1, 2000));

  EXPECT_EQ(ecr_closeConnection(ctx), ECR_OK);
  ASSERT_TRUE(peer.waitForClosed(1, 2000));
  EXPECT_EQ(peer.received(), std::vector<uint8_t>{0x04});
  EXPECT_EQ(hostLinesWith("bus", "Connection closed").size(), 1u);
  // A closed link still counts.
  EXPECT_TRUE(passesGuard());
  // Closing again is harmless and sends nothing more.
  EXPECT_EQ(ecr_closeConnection(ctx), ECR_OK);
  EXPECT_EQ(peer.received().size(), 1u);
}

TEST_F(EcrContextTest, NewLinkReplacesAndClosesTheOldOne) {
  zq::test::LoopbackPeer peer;
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", peer.port(), kShortTimeoutMs), ECR_OK);
  ASSERT_TRUE(peer.waitForConnections(1, 2000));
  // A failed setter still drops the working connection: the host asked for
  // another terminal.
  EXPECT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), kShortTimeoutMs),
            ECR_COMM_ERROR);
  ASSERT_TRUE(peer.waitForClosed(1, 2000));
  EXPECT_EQ(peer.received(), std::vector<uint8_t>{0x04});
}

TEST_F(EcrContextTest, CleanupClosesTheLinkAndClearsTheHandle) {
  zq::test::LoopbackPeer peer;
  ecr_setProtocol(ctx, 0);
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", peer.port(), kShortTimeoutMs), ECR_OK);
  ASSERT_TRUE(peer.waitForConnections(1, 2000));
  ecr_cleanup(&ctx);
  EXPECT_EQ(ctx, nullptr);
  ASSERT_TRUE(peer.waitForClosed(1, 2000));
  EXPECT_EQ(peer.received(), std::vector<uint8_t>{0x04});
  EXPECT_EQ(hostLinesWith("bus", "Clean ECR context").size(), 1u);
  // A second clean-up of the cleared handle does nothing.
  ecr_cleanup(&ctx);
  EXPECT_EQ(ctx, nullptr);
}

TEST_F(EcrContextTest, InitializeOverALiveHandleWarnsAndKeepsTheOldContext) {
  EcrCtx_s* old = ctx;
  ecr_setProtocol(old, 0);
  ASSERT_EQ(ecr_initialize(&ctx), ECR_OK);
  EXPECT_NE(ctx, old);
  EXPECT_EQ(ctx->protocol, nullptr);
  EXPECT_EQ(hostLinesWith("bus", "Pointer to ECR context not NULL, make sure resources do not leak").size(),
            1u);
  // The old one is untouched and still the caller's to clean.
  EXPECT_NE(old->protocol, nullptr);
  ecr_cleanup(&old);
}

TEST_F(EcrContextTest, SettingTheProtocolAgainEmptiesTheStore) {
  ecr_setProtocol(ctx, 0);
  ASSERT_TRUE(ctx->protocol->setTag(kAnyTag, kTagValue));
  ecr_setProtocol(ctx, 0);
  std::vector<unsigned char> read = {0xAA};
  EXPECT_FALSE(ctx->protocol->readTag(kAnyTag, read));
  EXPECT_EQ(read, std::vector<unsigned char>{0xAA});
  EXPECT_EQ(hostLinesWith("bus", "Set Talvoren protocol").size(), 2u);
}

TEST_F(EcrContextTest, InvalidProtocolIdChangesNothing) {
  ecr_setProtocol(ctx, 0);
  ASSERT_TRUE(ctx->protocol->setTag(kAnyTag, kTagValue));
  const auto* before = ctx->protocol.get();
  for (uint32_t id : {1u, 7u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(id);
    journal().clear();
    ecr_setProtocol(ctx, id);
    EXPECT_EQ(ctx->protocol.get(), before);
    const auto refused = hostLinesWith("bus", "Invalid protocol " + std::to_string(static_cast<int>(id)));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(hasLevel(refused[0], "FATAL"));
    EXPECT_TRUE(hostLinesWith("bus", "Set Talvoren protocol").empty());
  }
  std::vector<unsigned char> read;
  EXPECT_TRUE(ctx->protocol->readTag(kAnyTag, read));
  EXPECT_EQ(read, kTagValue);
}

// NULL handles, addresses and outputs: a code, a log line, nothing changed,
// nothing crashed.
TEST_F(EcrContextTest, NullArgumentsAreRefused) {
  ecr_setProtocol(ctx, 0);
  zq::test::LoopbackPeer peer;
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", peer.port(), kShortTimeoutMs), ECR_OK);
  const auto* link = ctx->link.get();
  const auto* protocol = ctx->protocol.get();
  journal().clear();

  struct NullCase {
    const char* name;
    ecr_status (*call)(EcrCtx_s* ctx);
    ecr_status expected;
    const char* line;
  };
  const NullCase cases[] = {
      {"initialize without a handle address", [](EcrCtx_s*) { return ecr_initialize(nullptr); },
       ECR_INVALID_ARGUMENT, "NULL pointer provided"},
      {"TCP link on a NULL context",
       [](EcrCtx_s*) { return ecr_setTcpIpLink(nullptr, "127.0.0.1", 1, kShortTimeoutMs); },
       ECR_NOT_INITIALIZED, "ECR context not initialized"},
      {"TCP link to a NULL address",
       [](EcrCtx_s* c) { return ecr_setTcpIpLink(c, nullptr, 1, kShortTimeoutMs); },
       ECR_INVALID_ARGUMENT, "NULL pointer provided"},
      {"serial link on a NULL context",
       [](EcrCtx_s*) {
         return ecr_setSerialLink(nullptr, "/dev/null", COMM_8N1, COMM_BAUD_9600, kShortTimeoutMs);
       },
       ECR_NOT_INITIALIZED, "ECR context not initialized"},
      {"serial link with a NULL port name",
       [](EcrCtx_s* c) {
         return ecr_setSerialLink(c, nullptr, COMM_8N1, COMM_BAUD_9600, kShortTimeoutMs);
       },
       ECR_INVALID_ARGUMENT, "NULL pointer provided"},
      {"close on a NULL context", [](EcrCtx_s*) { return ecr_closeConnection(nullptr); },
       ECR_NOT_INITIALIZED, "ECR context not initialized"},
  };
  for (const NullCase& c : cases) {
    SCOPED_TRACE(c.name);
    journal().clear();
    EXPECT_EQ(c.call(ctx), c.expected);
    const auto lines = hostLinesWith("bus", c.line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasLevel(lines[0], "ERROR"));
    EXPECT_EQ(ctx->link.get(), link);
    EXPECT_EQ(ctx->protocol.get(), protocol);
  }
  EXPECT_TRUE(ctx->link->isOpen()) << "the working connection survives refused calls";
  EXPECT_TRUE(peer.received().empty());

  journal().clear();
  ecr_setProtocol(nullptr, 0);
  EXPECT_EQ(hostLinesWith("bus", "ECR context not initialized").size(), 1u);
  ecr_cleanup(nullptr);
  EcrCtx_s* none = nullptr;
  ecr_cleanup(&none);
  EXPECT_EQ(none, nullptr);
}

TEST_F(EcrContextTest, LastReturnCodeIsTheProtocolStatusOfTheLastCommand) {
  ecr_setProtocol(ctx, 0);
  ASSERT_EQ(ecr_setTcpIpLink(ctx, "127.0.0.1", zq::test::refusedPort(), kShortTimeoutMs), ECR_COMM_ERROR);

  uint32_t code = kUntouched;
  journal().clear();
  ecr_getLastReturnCode(ctx, &code);
  EXPECT_EQ(code, 0u) << "a new context starts with success";
  EXPECT_EQ(hostLinesWith("bus", "Last return code: 0").size(), 1u);
  EXPECT_TRUE(hostLinesWith("bus", "Error while reading last return code").empty());

  // The protocol's own status, not its ecr_status mapping (12 maps to 1).
  ctx->lastResult = Result(zq::app::utils::RESULT_TERMINAL_NOT_READY, "Wrong terminal status");
  ecr_getLastReturnCode(ctx, &code);
  EXPECT_EQ(code, 12u);

  struct Refused {
    const char* name;
    EcrCtx_s* ctx;
    bool nullCode;
  };
  EcrCtx_s* bare = nullptr;
  ASSERT_EQ(ecr_initialize(&bare), ECR_OK);
  const Refused refused[] = {
      {"NULL code pointer", ctx, true}, {"NULL context", nullptr, false}, {"context without link", bare, false}};
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.name);
    journal().clear();
    code = kUntouched;
    ecr_getLastReturnCode(r.ctx, r.nullCode ? nullptr : &code);
    EXPECT_EQ(code, kUntouched);
    const auto lines = hostLinesWith("bus", "Error while reading last return code");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(hasLevel(lines[0], "ERROR"));
  }
  ecr_cleanup(&bare);
}

TEST(EcrResultMapping, EveryProtocolStatusMapsOntoItsCode) {
  zq::test::recordHostLogs();
  ASSERT_STREQ(ecr_getVersion(), "1.6.0.0");  // starts the loggers
  const ecr_status expected[14] = {ECR_OK,    ECR_COMM_ERROR, ECR_NO_DATA, ECR_ERROR, ECR_ERROR,
                                   ECR_ERROR, ECR_ERROR,      ECR_ERROR,   ECR_ERROR, ECR_EMPTY,
                                   ECR_ERROR, ECR_ERROR,      ECR_ERROR,   ECR_ERROR};
  for (uint32_t status = 0; status <= 13; ++status) {
    SCOPED_TRACE(status);
    journal().clear();
    const Result result(static_cast<zq::app::utils::EcrTransactionResult>(status), "reason text");
    EXPECT_EQ(resultToStatus(result), expected[status]);
    if (status == 0) {
      const auto lines = hostLinesWith("bus", "Command executed successfully");
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_TRUE(hasLevel(lines[0], "TRACE"));
    } else {
      const auto lines =
          hostLinesWith("bus", "Flow error: " + std::to_string(status) + ", reported reason: reason text");
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_TRUE(hasLevel(lines[0], "ERROR"));
    }
  }
}

TEST(EcrVersion, IsBuiltOnceAndLoggedOnEveryCall) {
  zq::test::recordHostLogs();
  const char* first = ecr_getVersion();
  const char* second = ecr_getVersion();
  EXPECT_STREQ(first, "1.6.0.0");
  EXPECT_EQ(first, second);
  EXPECT_EQ(hostLinesWith("bus", "Library version: 1.6.0.0").size(), 2u);
}

// Whatever escapes a body becomes the function's failure value and a line
// naming the function; nothing reaches the host as an exception.
TEST(EcrExportBoundary, ExceptionsBecomeTheFailureValue) {
  zq::test::recordHostLogs();
  ASSERT_STREQ(ecr_getVersion(), "1.6.0.0");
  struct Case {
    const char* name;
    void (*thrower)();
    const char* line;
  };
  const Case cases[] = {
      {"standard exception", [] { throw std::runtime_error("boom"); }, "ecr_demo failed: boom"},
      {"allocation failure", [] { throw std::bad_alloc(); }, "ecr_demo failed: std::bad_alloc"},
      {"anything else", [] { throw 42; }, "ecr_demo failed: unexpected exception"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    journal().clear();
    const ecr_status status = zq::app::utils::guardExport("ecr_demo", ECR_ERROR, [&]() -> ecr_status {
      c.thrower();
      return ECR_OK;
    });
    EXPECT_EQ(status, ECR_ERROR);
    EXPECT_EQ(hostLinesWith("bus", c.line).size(), 1u);
    journal().clear();
    EXPECT_NO_THROW(zq::app::utils::guardExportVoid("ecr_demo", [&] { c.thrower(); }));
    EXPECT_EQ(hostLinesWith("bus", c.line).size(), 1u);
  }
  EXPECT_EQ(zq::app::utils::guardExport("ecr_demo", ECR_ERROR, [] { return ECR_NO_DATA; }), ECR_NO_DATA);
}

}  // namespace
