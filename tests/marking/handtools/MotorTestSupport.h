#pragma once
// Pieces of the hardware test dialog's tests: a property view that records
// the requests handed to it and lets the test answer them as the link would.
#include <QCoreApplication>
#include <QTest>
#include <chrono>
#include <memory>
#include <vector>

#include "marking/link/CComRequest.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/LinkMessages.h"
#include "marking/link/WireProtocol.h"
#include "platform/Messages.h"

class RecordingLinkHost : public ILinkHost {
 public:
  int variant = PROTOCOL_PLAIN;

  bool IsLinkOpen() override { return true; }
  CComRequest* GetComRequest() override { return &request; }
  platform::MessageTarget* GetRequestTarget() override { return &submitted; }
  int GetProtocolVariant() override { return variant; }
  void ResetComRequest() override {}

  // The commands handed over since the last call, in order.
  std::vector<std::shared_ptr<const ComCommand>> Commands() {
    std::vector<std::shared_ptr<const ComCommand>> out;
    for (const platform::Message& m : submitted.Drain()) {
      if (m.msg == WM_COM_REQUEST && RequestOf(m) == &request) out.push_back(CommandOf(m));
    }
    return out;
  }

  // Answers a command as the link does: the reply is stored in the request
  // and posted to the command's reply window. Then lets the UI thread run.
  void Reply(const ComCommand& command, std::vector<BYTE> bytes, bool deliver = true) {
    request.AppendReply(command.serial, bytes.data(), static_cast<int>(bytes.size()));
    auto reply = std::make_shared<ComReply>();
    reply->serial = command.serial;
    reply->type = command.type;
    reply->bytes = std::move(bytes);
    command.replyWnd->Post(platform::Message{command.replyMsg, reinterpret_cast<WPARAM>(&request), 0,
                                             std::shared_ptr<void>(reply, reply.get())});
    if (deliver) QCoreApplication::sendPostedEvents();
  }

  CComRequest request;
  platform::QueueMessageTarget submitted;
};
