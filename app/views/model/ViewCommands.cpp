#include "app/views/model/CVendrikViewModel.h"

void CVendrikViewModel::AddCommand(int id, std::function<void()> run, std::function<bool()> enabled,
                                   std::function<bool()> checked) {
  m_commands[id] = ViewCommand{std::move(run), std::move(enabled), std::move(checked)};
}

bool CVendrikViewModel::RunCommand(int id, bool execute) {
  const auto found = m_commands.find(id);
  if (found == m_commands.end()) return false;
  const ViewCommand& command = found->second;
  if (command.enabled && !command.enabled()) return false;
  if (execute && command.run) {
    command.run();
    TellCutFills();
  }
  return true;
}

bool CVendrikViewModel::IsCommandChecked(int id) const {
  const auto found = m_commands.find(id);
  return found != m_commands.end() && found->second.checked && found->second.checked();
}
