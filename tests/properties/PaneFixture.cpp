#include "tests/properties/PaneFixture.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>

#include "document/geometry/SharedState.h"
#include "document/doc/CObjPtrArray.h"
#include "document/params/CDrawProperity.h"
#include "platform/serial/SerialDiscovery.h"
#include "properties/framework/CPropertyPage.h"
#include "properties/list/CObjectListBox.h"
#include "properties/sheet/CObjProperitySheet.h"
#include "values/PropertyMessages.h"
#include "widgets/StopKeyFilter.h"

bool RecordingLayoutView::Post(platform::Message message) {
  Received r;
  r.msg = message.msg;
  r.wParam = message.wParam;
  r.lParam = message.lParam;
  if (auto record = PropChangeOf(message)) {
    r.hasRecord = true;
    r.id = record->id;
    r.value = record->value;
    r.object = record->object;
  }
  received.push_back(r);
  return true;
}

std::vector<Received> RecordingLayoutView::Changes() const {
  std::vector<Received> changes;
  for (const Received& r : received)
    if (IsPropertyChangeMessage(r.msg)) changes.push_back(r);
  return changes;
}

void Pump() {
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

void PaneTest::SetUp() {
  MarkStatusWord = 0;
  prompt_ = std::make_shared<platform::ScriptedPrompt>();
  platform::SetPrompt(prompt_);
  colours_ = std::make_shared<platform::ScriptedColorDialog>();
  platform::SetColorDialog(colours_);
  self_ = std::make_unique<platform_qt::QtMessageTarget>([this](const platform::Message& m) {
    if (view_ && !view_->HandleMessage(m)) view_->RelayMessage(m);
  });
  CProperityView::Options options;
  options.discovery = std::make_shared<platform::serial::FixedSerialDiscovery>(
      std::vector<platform::serial::SerialCandidate>{});
  options.boardType = [] { return 0; };
  options.dataFolder = ::testing::TempDir();
  view_ = std::make_unique<CProperityView>(std::move(options));
  view_->SetSelfTarget(self_.get());
  host_ = std::make_unique<QWidget>();
  ASSERT_TRUE(view_->OnCreate(host_.get()));
  view_->OnInitialUpdate(&layout_);
  host_->resize(400, 900);
  view_->OnSize(400, 900);
  host_->show();

  auto zero = std::make_unique<CObjElement>(
      CObjCreateRecord{"", OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}});
  workArea_ = zero.get();
  elements_.push_back(std::move(zero));
  view_->FillObjectList(CObjPtrArray{});
  List().AddObject(workArea_, 0, 0);
  Pump();
  layout_.received.clear();
}

void PaneTest::TearDown() {
  view_->OnDestroy();
  host_.reset();  // list and sheet first: they post to the view's target
  view_.reset();
  self_.reset();
  MarkStatusWord = 0;
  platform::SetPrompt(nullptr);
  platform::SetColorDialog(nullptr);
}

std::unique_ptr<CObjElement> PaneTest::MakeElement(int type, const std::string& name) {
  auto e = std::make_unique<CObjElement>();
  e->type = type;
  e->name = name;
  return e;
}

CObjElement* PaneTest::Add(int type, const std::string& name) {
  elements_.push_back(MakeElement(type, name));
  return elements_.back().get();
}

CObjectListBox& PaneTest::List() const { return *view_->GetObjectList(); }
CObjProperitySheet& PaneTest::Sheet() const { return *view_->GetSheet(); }

QWidget* PaneTest::ActivePageWidget() const { return Sheet().ActivePage(); }

std::vector<std::string> PaneTest::Tabs() const {
  std::vector<std::string> tabs;
  for (int i = 0; i < Sheet().count(); ++i) tabs.push_back(Sheet().tabText(i).toStdString());
  return tabs;
}

CPropertyPage* PaneTest::Open(const char* caption) {
  for (int i = 0; i < Sheet().count(); ++i) {
    if (Sheet().tabText(i) == QString(caption)) {
      Sheet().setCurrentIndex(i);
      Pump();
      return Sheet().ActivePage();
    }
  }
  ADD_FAILURE() << "no page " << caption;
  return nullptr;
}

void PaneTest::TypeAndEnter(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
  Pump();
}

void PaneTest::TypeAndLeave(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(edit, &out);
  Pump();
}
