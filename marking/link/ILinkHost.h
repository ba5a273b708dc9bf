#pragma once
// What the controller's commands need of the window that owns the link (the
// property view): the shared request, where to post it, the protocol variant
// and whether the link is open.
#include "marking/link/CComRequest.h"
#include "platform/Messages.h"

class ILinkHost {
 public:
  virtual ~ILinkHost() = default;
  virtual bool IsLinkOpen() = 0;
  virtual CComRequest* GetComRequest() = 0;
  // Receives WM_COM_REQUEST with the request.
  virtual platform::MessageTarget* GetRequestTarget() = 0;
  // 1 framed, otherwise plain; read anew for every command.
  virtual int GetProtocolVariant() = 0;
  // Re-prepares the shared request so a late reply is dropped; sends nothing.
  virtual void ResetComRequest() = 0;
};
