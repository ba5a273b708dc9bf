#include "app/settings/SettingsCommands.h"

#include <QDialog>
#include <cstring>

#include "app/core/MachineSetFile.h"
#include "app/core/StartupValues.h"
#include "app/settings/CPasswordDlg.h"
#include "app/settings/CPrinterConfigDlg.h"
#include "app/settings/CScreenSizeDlg.h"
#include "app/settings/PortAddressText.h"
#include "app/settings/SettingsCommandHost.h"
#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/dialogs/CComSetDlg.h"
#include "marking/dialogs/CSoftTypeDlg.h"
#include "marking/records/CMarkDatabase.h"
#include "marking/records_ui/CMarkRecordDlg.h"
#include "platform/InstallDir.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

bool OnSoftTypeCommand(ISettingsCommandHost& host) {
  CSoftTypeDlg dialog;
  dialog.m_boardType = g_softType.load();
  std::string address;
  FormatPortHex(OutPortAddress.load(), address);
  dialog.m_baseAddr = QString::fromStdString(address);
  dialog.m_pciLptCard = g_checkPciBoard.load();
  dialog.m_freeMode = g_machineSet.controlBit0Switch;
  dialog.m_update = g_machineSet.boardOption;
  dialog.OnInitDialog();
  if (host.RunModal(dialog) != QDialog::Accepted) return false;
  SoftTypeChoice choice;
  choice.boardType = dialog.m_boardType;
  choice.checkPciBoard = dialog.m_pciLptCard;
  choice.addressText = dialog.m_baseAddr.toStdString();
  choice.freeMode = dialog.m_freeMode;
  choice.boardOption = dialog.m_update;
  ApplySoftTypeChoice(host, choice);
  return true;
}

void ApplySoftTypeChoice(ISettingsCommandHost& host, const SoftTypeChoice& choice) {
  host.StopButtonWatch();
  host.CloseUsbLink();
  host.WaitMilliseconds(200);

  g_softType = choice.boardType;
  if (!WriteSoftTypeFile(ZephyneFilePath(g_installDir), choice.boardType)) platform::MessageBox(kSaveParameterError);
  if (choice.boardType != SOFT_TYPE_USB) {
    g_checkPciBoard = choice.checkPciBoard;
    WriteRegDword("CheckPCIBoard", choice.checkPciBoard);
  }

  std::string text = choice.addressText;
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  std::uint32_t base = 0;
  // A port address lies in the 16-bit I/O space; anything larger would be cut
  // to another port's address.
  if (ParseHexPort(base, text, false) && base <= 0xFFFF) {
    WriteRegDword("PCI9865Base", static_cast<int>(base));
    SetPortAddresses(static_cast<WORD>(base));
  } else {
    if (base > 0xFFFF) platform::MessageBox("Address error!");
    SetPortAddresses(kDefaultPortBase);
  }

  host.InitHardware(0);
  host.OpenUsbLink();
  LoadMachineSet();
  g_machineSet.controlBit0Switch = static_cast<std::uint8_t>(choice.freeMode);
  ControlBit0Switch = g_machineSet.controlBit0Switch;
  host.ReloadParameterRecord();
  ApplyCtrlPortBit0();
  g_machineSet.boardOption = choice.boardOption;
  SaveMachineSet();
}

bool OnRs232SettingCommand(ISettingsCommandHost& host) {
  const ComSettings* current = host.CurrentComSettings();
  if (current == nullptr) return false;
  ComSettings settings = *current;
  CComSetDlg dialog;
  dialog.m_portIndex = settings.values[0];
  dialog.m_parityIndex = settings.values[1];
  dialog.m_baudIndex = settings.values[2];
  dialog.m_stopBitsIndex = settings.values[3];
  dialog.m_dataBitsIndex = settings.values[4];
  dialog.m_rs232Open = settings.values[5];
  dialog.OnInitDialog();
  if (host.RunModal(dialog) != QDialog::Accepted) return false;
  settings.values[0] = dialog.m_portIndex;
  settings.values[1] = dialog.m_parityIndex;
  settings.values[2] = dialog.m_baudIndex;
  settings.values[3] = dialog.m_stopBitsIndex;
  settings.values[4] = dialog.m_dataBitsIndex;
  settings.values[5] = dialog.m_rs232Open;
  unsigned char bytes[ComSettings::kFileSize] = {};
  for (int i = 0; i < ComSettings::kCount; ++i) {
    const auto value = static_cast<std::uint32_t>(settings.values[static_cast<std::size_t>(i)]);
    for (int b = 0; b < 4; ++b) bytes[4 * i + b] = static_cast<unsigned char>(value >> (8 * b));
  }
  if (!platform::WriteFileAtomic(host.ComSettingsPath(), bytes, sizeof bytes)) {
    platform::MessageBox(kSaveParameterError);
  }
  if (!host.ReopenRs232Port()) platform::MessageBox("Update data from rs232 err!");
  return true;
}

bool OnScreenSizeCommand(ISettingsCommandHost& host, int screenPixelWidth, int screenPixelHeight) {
  CScreenSizeDlg dialog;
  dialog.m_width = static_cast<float>(g_physScreenWidthMm);
  dialog.m_height = static_cast<float>(g_physScreenHeightMm);
  dialog.OnInitDialog();
  if (host.RunModal(dialog) != QDialog::Accepted) return false;
  ApplyPhysicalScreenSize(dialog.m_width, dialog.m_height, screenPixelWidth, screenPixelHeight);
  host.InvalidateView();
  return true;
}

bool OnPrintEdgeSettingCommand(ISettingsCommandHost& host, PaperPrintSet& record, const std::string& folder) {
  CPrinterConfigDlg dialog;
  dialog.m_record = record;
  dialog.OnInitDialog();
  if (host.RunModal(dialog) != QDialog::Accepted) return false;
  record = dialog.m_record;
  if (!SavePaperPrintSet(folder, record)) platform::MessageBox(kSaveParameterError);
  return true;
}

void OnLookDatabaseCommand(ISettingsCommandHost& host, const marking::MarkDatabaseLocation& location) {
  CMarkRecordDlg dialog(nullptr, location);
  host.RunModal(dialog);
}

bool OnClearDatabaseCommand(ISettingsCommandHost& host, const marking::MarkDatabaseLocation& location,
                            const marking::MarkTime& now) {
  CPasswordDlg password;
  if (host.RunModal(password) != QDialog::Accepted) return false;
  if (platform::MessageBox("Are clear all database ?", "Vendrik", MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  marking::CMarkDatabase database(location);
  const marking::MarkClearResult result = database.ClearWithBackup(now);
  if (!result.cleared) {
    // The records stay; the operator learns why instead of nothing.
    platform::MessageBox(result.error.empty() ? "Cannot clear the marking records." : result.error);
    return false;
  }
  platform::MessageBox("Database had been cleared!");
  return true;
}
