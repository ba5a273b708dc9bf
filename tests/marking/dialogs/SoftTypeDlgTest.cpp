#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>

#include "marking/dialogs/CSoftTypeDlg.h"
#include "platform/Prompt.h"

namespace {

template <typename T>
T* Item(CSoftTypeDlg& dlg, int id) {
  T* item = qobject_cast<T*>(dlg.GetDlgItem(id));
  EXPECT_NE(item, nullptr) << id;
  return item;
}

class SoftTypeDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_ = std::make_shared<platform::ScriptedPrompt>();
    platform::SetPrompt(prompt_);
  }
  void TearDown() override { platform::SetPrompt(nullptr); }

  std::shared_ptr<platform::ScriptedPrompt> prompt_;
};

TEST_F(SoftTypeDialog, ValuesInAreShownAndComeBackOnOk) {
  CSoftTypeDlg dlg;
  EXPECT_EQ(dlg.windowTitle(), "Soft type(USB or LPT)");
  dlg.m_boardType = 2;
  dlg.m_pciLptCard = 1;
  dlg.m_baseAddr = "E800";
  dlg.m_freeMode = 1;
  dlg.m_update = 0;
  dlg.OnInitDialog();
  EXPECT_TRUE(Item<QRadioButton>(dlg, CSoftTypeDlg::IDC_LPT_SMALL)->isChecked());
  EXPECT_EQ(Item<QLineEdit>(dlg, CSoftTypeDlg::IDC_BASE_ADDR)->text(), "E800");
  EXPECT_TRUE(Item<QCheckBox>(dlg, CSoftTypeDlg::IDC_FREE_MODE)->isChecked());

  Item<QRadioButton>(dlg, CSoftTypeDlg::IDC_USB_BOARD)->setChecked(true);
  Item<QCheckBox>(dlg, CSoftTypeDlg::IDC_FREE_MODE)->setChecked(false);
  Item<QCheckBox>(dlg, CSoftTypeDlg::IDC_UPDATE)->setChecked(true);
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_boardType, 1);
  EXPECT_EQ(dlg.m_pciLptCard, 1);
  EXPECT_EQ(dlg.m_baseAddr, "E800");
  EXPECT_EQ(dlg.m_freeMode, 0);
  EXPECT_EQ(dlg.m_update, 1);
  EXPECT_TRUE(prompt_->Texts().empty());
}

TEST_F(SoftTypeDialog, BaseAddressControlsStayLockedUntilTheAccessCode) {
  CSoftTypeDlg dlg;
  dlg.m_boardType = 0;
  dlg.OnInitDialog();
  auto* base = Item<QLineEdit>(dlg, CSoftTypeDlg::IDC_BASE_ADDR);
  auto* pci = Item<QCheckBox>(dlg, CSoftTypeDlg::IDC_PCI_LPT);
  auto* code = Item<QLineEdit>(dlg, CSoftTypeDlg::IDC_ACCESS_CODE);
  EXPECT_EQ(code->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(base->isEnabled());
  EXPECT_FALSE(pci->isEnabled());

  for (const char* wrong : {"quenmar", "quenmartx", "vessolim", ""}) {
    code->setText(wrong);  // typing notifies as the operator's change does
    EXPECT_FALSE(base->isEnabled()) << wrong;
    EXPECT_TRUE(code->isEnabled()) << wrong;
  }
  EXPECT_TRUE(prompt_->Texts().empty());  // no message for a wrong code

  code->setText("QuenMART");
  EXPECT_TRUE(base->isEnabled());
  EXPECT_TRUE(pci->isEnabled());
  EXPECT_FALSE(code->isEnabled());
  EXPECT_EQ(dlg.m_accessCode, "quenmart");

  CSoftTypeDlg other;
  other.OnInitDialog();
  Item<QLineEdit>(other, CSoftTypeDlg::IDC_ACCESS_CODE)->setText("VESSOLIN");
  EXPECT_TRUE(Item<QLineEdit>(other, CSoftTypeDlg::IDC_BASE_ADDR)->isEnabled());
}

TEST_F(SoftTypeDialog, BaseAddressLongerThanFourCharactersStopsTheOk) {
  CSoftTypeDlg dlg;
  dlg.m_boardType = 0;
  dlg.m_baseAddr = "0x378";
  dlg.m_freeMode = 0;
  dlg.OnInitDialog();
  auto* base = Item<QLineEdit>(dlg, CSoftTypeDlg::IDC_BASE_ADDR);
  EXPECT_EQ(base->text(), "0x378");  // shown whole, not cut to the limit
  Item<QLineEdit>(dlg, CSoftTypeDlg::IDC_ACCESS_CODE)->setText("vessolin");
  Item<QCheckBox>(dlg, CSoftTypeDlg::IDC_FREE_MODE)->setChecked(true);
  dlg.accept();
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  ASSERT_EQ(prompt_->Texts().size(), 1u);
  EXPECT_EQ(prompt_->Texts()[0], "Please enter no more than 4 characters.");
  // Nothing of the refused OK reaches the members.
  EXPECT_EQ(dlg.m_baseAddr, "0x378");
  EXPECT_EQ(dlg.m_freeMode, 0);

  base->setText("E800");
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_baseAddr, "E800");
  EXPECT_EQ(dlg.m_freeMode, 1);
}

TEST_F(SoftTypeDialog, TypingTheBaseAddressStopsAtFourCharacters) {
  CSoftTypeDlg dlg;
  dlg.m_baseAddr = "378";
  dlg.OnInitDialog();
  auto* base = Item<QLineEdit>(dlg, CSoftTypeDlg::IDC_BASE_ADDR);
  base->setEnabled(true);
  base->end(false);
  base->insert("0A");
  EXPECT_EQ(base->text(), "3780");
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.m_baseAddr, "3780");
}

TEST_F(SoftTypeDialog, UnknownBoardTypeShowsNoChoiceAndIsKept) {
  CSoftTypeDlg dlg;
  EXPECT_EQ(dlg.m_boardType, -1);
  dlg.m_boardType = 7;
  dlg.OnInitDialog();
  for (int id : {CSoftTypeDlg::IDC_LPT_BIG, CSoftTypeDlg::IDC_USB_BOARD, CSoftTypeDlg::IDC_LPT_SMALL})
    EXPECT_FALSE(Item<QRadioButton>(dlg, id)->isChecked()) << id;
  dlg.accept();
  EXPECT_EQ(dlg.m_boardType, 7);
}

}  // namespace
