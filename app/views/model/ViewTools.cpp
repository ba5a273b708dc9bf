// The drawing tool commands: each sets the tool code the mouse handlers act
// on, clears the selection and shows the parameter record's pages; the tool
// code goes back to 0 once its object is made.
#include "app/views/model/CVendrikViewModel.h"

const std::vector<CVendrikViewModel::ToolCommand>& CVendrikViewModel::ToolCommands() {
  static const std::vector<ToolCommand> tools{
      {32845, 1},  {32873, 2},  {32817, 3},  {32774, 4},  {32809, 5},  {32775, 6},  {32776, 7},
      {32777, 8},  {32781, 9},  {32780, 10}, {32818, 13}, {32797, 14}, {32819, 18}, {32867, 17},
  };
  return tools;
}

void CVendrikViewModel::SetTool(int code) {
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  if (code == 0) {
    // "Select none" keeps the selection and drops a construction.
    EndConstruction();
    m_dotPitchX = g_distanceHor;
    m_dotPitchY = g_distanceVer;
    return;
  }
  m_pointList.RemoveAll();
  m_dragState = 0;
  m_dragShown = false;
  m_toolCode = code;
  ClearSelection();
  ShowNoObject();
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::RegisterToolCommands() {
  // "(7):Delete" of the context menu.
  constexpr int kDeleteSelection = 32798;
  AddCommand(kDeleteSelection, [this] { DeleteSelection(); }, [this] { return HasLayoutSelection(); });
  AddCommand(ID_SELECT_NONE, [this] { SetTool(0); }, {}, [this] { return m_toolCode == 0; });
  for (const ToolCommand& tool : ToolCommands()) {
    const int code = tool.code;
    AddCommand(tool.id, [this, code] { SetTool(code); }, {}, [this, code] { return m_toolCode == code; });
  }
}
