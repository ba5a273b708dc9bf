#pragma once
// Shared pieces of the controller tests: the simulated port space and clock
// installed for a test, a parameter record with defaults, and a link owner
// that plays an always-agreeing board in-process.
#include <memory>
#include <mutex>
#include <vector>

#include "values/MachineSetRecord.h"
#include "document/geometry/SharedState.h"
#include "document/params/CDrawProperity.h"
#include "marking/controller/ControllerState.h"
#include "marking/link/CComRequest.h"
#include "marking/link/ILinkHost.h"
#include "marking/link/WireProtocol.h"
#include "platform/Clock.h"
#include "platform/PortIo.h"
#include "platform/Prompt.h"

constexpr WORD kPortBase = 0x378;
constexpr WORD kOutPort = kPortBase;
constexpr WORD kInPort = kPortBase + 1;

// Port space, clock and prompt of one test, and the port state at rest:
// pulse lines low at rest, high while stepping, needle down = high.
struct PortBench {
  PortBench() {
    ports = std::make_shared<platform::SimulatedPortSpace>();
    platform::SetPortSpace(ports);
    clock = std::make_shared<platform::SimulatedClock>();
    platform::SetClock(clock);
    prompt = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt);
    SetPortAddresses(kPortBase);
    PulseLevels = PULSE_LEVEL_ACTIVE;
    PortLevelByte = 0x04;
    MarkStatusWord = 0;
    OutputShadow = 0;
    StartMarkDelay = 0;
    for (auto& c : AxisStepCounters) c = 0;
  }
  ~PortBench() {
    platform::SetPrompt(std::make_shared<platform::ScriptedPrompt>());
    platform::SetClock(std::make_shared<platform::SteadyClock>());
    platform::SetPortSpace(std::make_shared<platform::SimulatedPortSpace>());
  }
  std::vector<platform::PortAccess> OutWrites() const { return ports->Writes(kOutPort); }

  std::shared_ptr<platform::SimulatedPortSpace> ports;
  std::shared_ptr<platform::SimulatedClock> clock;
  std::shared_ptr<platform::ScriptedPrompt> prompt;
};

inline CDrawProperity DefaultRecord() {
  MachineSetRecord settings = DefaultMachineSetRecord();
  return CDrawProperity(settings, false);
}

// Answers every command at once with success and keeps the bytes sent.
class AgreeingLinkHost : public ILinkHost, public platform::MessageTarget {
 public:
  bool IsLinkOpen() override { return true; }
  CComRequest* GetComRequest() override { return &request_; }
  platform::MessageTarget* GetRequestTarget() override { return this; }
  int GetProtocolVariant() override { return PROTOCOL_PLAIN; }
  void ResetComRequest() override {}
  bool Post(platform::Message m) override {
    if (auto command = CommandOf(m)) {
      std::lock_guard lock(mutex_);
      sent_.push_back(command->bytes);
    }
    request_.Signal(1);
    return true;
  }
  std::vector<std::vector<BYTE>> Sent() {
    std::lock_guard lock(mutex_);
    return sent_;
  }

 private:
  CComRequest request_;
  std::mutex mutex_;
  std::vector<std::vector<BYTE>> sent_;
};
