// Import from the menu road: the file dialog, the two reader passes, the
// objects made, their places and the messages.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "document/doc/PointsImage.h"
#include "document/objects/CObjDotCollect.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjPolyLine.h"
#include "tests/app/views/ViewCommandsFixture.h"
#include "text/exchange/dxf/DxfImport.h"
#include "text/exchange/hpgl/PltImport.h"

namespace {

constexpr int ID_IMPORT_FILE = 32782;
constexpr int ID_IMPORT_POINTS_IMAGE = 32742;

std::string DataFile(const std::string& name) { return std::string(VENDRIK_TEST_DATA_DIR) + "/" + name; }

std::string Dxf(const std::string& entities) {
  return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

std::string DxfPoint(double x, double y) {
  return "  0\nPOINT\n  8\n0\n 10\n" + std::to_string(x) + "\n 20\n" + std::to_string(y) + "\n 30\n0.0\n";
}

std::string DxfLine(double x1, double y1, double x2, double y2) {
  return "  0\nLINE\n  8\n0\n 10\n" + std::to_string(x1) + "\n 20\n" + std::to_string(y1) + "\n 30\n0.0\n 11\n" +
         std::to_string(x2) + "\n 21\n" + std::to_string(y2) + "\n 31\n0.0\n";
}

std::string Repeated(const std::string& part, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += part;
  return out;
}

// A plot file of the HP-GL/2 kind around the commands.
std::string Dialect2Plot(const std::string& commands) {
  return "\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;DF;IP0,0,16000,16000;SC;VS36;PW0.25;PW0.25,2;PW0.25,3;PW0.25,4;PU;PA0,0;SP1;"
         "LT;" +
         commands;
}

int CountedValues(int dialect, const std::string& path) {
  using Reader = int (*)(const std::string&, double*, BYTE*, int*, int*, int*);
  const Reader reader = dialect == 1 ? ImportPltDialect1 : dialect == 2 ? ImportPltDialect2 : ImportPltDialect3;
  int count = 0, read = 0, status = 0;
  reader(path, nullptr, nullptr, &count, &read, &status);
  return count;
}

}  // namespace

class ImportCommandsTest : public ViewCommandsTest {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder_ + "/" + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  // Dot images move by whole cells of their dot grid (the view's spacing).
  void ExpectCentred(const CObjElement* element) {
    const CDoubleRect b = element->GetBoundRect();
    const auto* dots = element->GetObjectAs<CObjDotCollect>();
    EXPECT_NEAR(b.CenterX(), 0, dots != nullptr ? dots->GetCellWidth() : 1e-6);
    EXPECT_NEAR(b.CenterY(), 0, dots != nullptr ? dots->GetCellHeight() : 1e-6);
  }
  bool ImportFromMenu(const std::string& path) {
    files_->QueuePath(path);
    return model_->RunCommand(ID_IMPORT_FILE, true);
  }
};

struct PltCase {
  const char* file;
  int droppedLastPoint;
};

class PltImportTest : public ImportCommandsTest, public ::testing::WithParamInterface<PltCase> {};

TEST_P(PltImportTest, ImportsTheProjectsPlotFilesCentredAsOneDrawing) {
  const std::string path = DataFile(std::string("plt/") + GetParam().file);
  const int dialect = DetectPltDialect(path);
  ASSERT_NE(dialect, 0);
  ASSERT_TRUE(ImportFromMenu(path));
  ASSERT_EQ(Count(), 2);
  const CObjElement* drawing = At(1);
  EXPECT_EQ(drawing->type, OBJ_HPGL);
  EXPECT_EQ(drawing->name, "type9-1");
  const auto* poly = drawing->GetObjectAs<CObjPolyLine>();
  ASSERT_NE(poly, nullptr);
  EXPECT_EQ(poly->GetVertexCount(), CountedValues(dialect, path) / 2 - GetParam().droppedLastPoint);
  ExpectCentred(drawing);
  EXPECT_EQ(model_->m_selection.GetElements(), std::vector<CObjElement*>{At(1)});
  EXPECT_TRUE(document_.IsModified());
  EXPECT_EQ(model_->m_toolCode, 0);
  const auto requests = files_->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].defaultExt, "dxf");
  EXPECT_EQ(requests[0].filter, "R12,R14,R2000(*.dxf)|*.dxf|HP系列-plt (*.plt)|*.plt||");
  EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Dialects, PltImportTest,
                         ::testing::Values(PltCase{"square-r14.plt", 1}, PltCase{"shapes-r2000.plt", 1},
                                           PltCase{"triangle-corel.plt", 0}));

TEST_F(ImportCommandsTest, ExtensionInCapitalsIsStillAPlotFile) {
  const std::string copy = folder_ + "/SQUARE.PLT";
  std::filesystem::copy_file(DataFile("plt/square-r14.plt"), copy);
  ASSERT_TRUE(ImportFromMenu(copy));
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(At(1)->type, OBJ_HPGL);
}

TEST_F(ImportCommandsTest, ImportsTheProjectsDxfFiles) {
  for (const char* name : {"dxf/entities-ac1015.dxf", "dxf/blocks-ac1014.dxf"}) {
    SCOPED_TRACE(name);
    const int before = Count();
    ASSERT_TRUE(ImportFromMenu(DataFile(name)));
    ASSERT_GT(Count(), before);
    for (int i = before; i < Count(); ++i) ExpectCentred(At(i));
  }
}

TEST_F(ImportCommandsTest, DxfPointsBecomeOneDotImageAndLinesADrawingEachCentredOnItsOwn) {
  ASSERT_TRUE(ImportFromMenu(Write("dots.dxf", Dxf(DxfPoint(10, 10) + DxfPoint(20, 10) + DxfPoint(20, 30)))));
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(At(1)->type, OBJ_DOTIMAGE);
  EXPECT_EQ(At(1)->GetObjectAs<CObjDotCollect>()->GetDotCount(), 3);
  ExpectCentred(At(1));

  ASSERT_TRUE(ImportFromMenu(Write("mixed.dxf", Dxf(DxfLine(0, 0, 40, 0) + DxfPoint(100, 100) + DxfPoint(104, 100)))));
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(At(2)->type, OBJ_DXF);
  EXPECT_EQ(At(3)->type, OBJ_DOTIMAGE);
  ExpectCentred(At(2));
  ExpectCentred(At(3));
}

TEST_F(ImportCommandsTest, FilesThatCannotBeReadAddNothingAndSaySo) {
  struct Case {
    std::string path;
    const char* message;
  };
  const Case cases[] = {
      {folder_ + "/missing.dxf", "Open file error!"},
      {folder_ + "/missing.plt", "Open file error!"},
      {Write("words.dxf", "no drawing here"), "Cann't identified file!"},
      {Write("words.plt", "no plot here at all, just words"),
       "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9"},
      // A plot of a read kind that is too short to hold a drawing, and one
      // whose data ends without the plot's end.
      {Write("short.plt", std::string(89, ';') + "PU;PA0,0;SP1;LT;"),
       "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9"},
      {Write("noend.plt", std::string(45, ';') + "PU;PA40,80;PD;PA80,80;PA0,0"),
       "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9"},
      // A few bytes a circle of 540 chords: a short file that names more
      // points than a drawing may hold, in either kind of file.
      {Write("circles.plt", Dialect2Plot(Repeated("PA0,0;CI4000;", 7800) + "SP0;")),
       "PLT is must AutoCad R14(HP_7475)\nor AutoCad R2000(HP_7550A)\nor Coreldraw9"},
      {Write("circles.dxf", Dxf(Repeated("  0\nCIRCLE\n  8\n0\n 10\n0\n 20\n0\n 40\n100\n", 7800))),
       "Cann't identified file!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    prompt_->Clear();
    ImportFromMenu(c.path);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
  }
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(ImportCommandsTest, DxfReaderReportsAnUnopenableFileAsTheViewExpects) {
  int count = 0, read = 0, status = 0;
  ImportDxfFile(folder_ + "/none.dxf", nullptr, nullptr, &count, &read, &status);
  EXPECT_EQ(status, kDxfStatusNoFile);
  EXPECT_EQ(kDxfStatusNoFile, kPltStatusNoFile);
}

TEST_F(ImportCommandsTest, OtherExtensionsAndCancelDoNothing) {
  ImportFromMenu(Write("drawing.txt", "x"));
  files_->QueueCancel();
  model_->RunCommand(ID_IMPORT_FILE, true);
  EXPECT_EQ(Count(), 1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ImportCommandsTest, DotImageKeepsTheStoredCoordinatesAndFlags) {
  CPointList dots;
  dots.Add(CDoublePoint(1.5, -2.25, 0));
  dots.Add(CDoublePoint(30, 40, 0x20));
  dots.Add(CDoublePoint(-7, 8, 0));
  const std::string path = folder_ + "/image.pts";
  ASSERT_TRUE(WritePointsImage(path, dots));
  files_->QueuePath(path);
  ASSERT_TRUE(model_->RunCommand(ID_IMPORT_POINTS_IMAGE, true));
  ASSERT_EQ(Count(), 2);
  const auto* image = At(1)->GetObjectAs<CObjDotCollect>();
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->GetDotCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(image->GetPathData().points[i].x, dots[i].x);
    EXPECT_EQ(image->GetPathData().points[i].y, dots[i].y);
    EXPECT_EQ(image->GetPathData().points[i].flag, dots[i].flag);
  }
}

TEST_F(ImportCommandsTest, DotImageHeaderIsCheckedAgainstTheFile) {
  CPointList two;
  two.Add(CDoublePoint(1, 1, 0));
  two.Add(CDoublePoint(2, 2, 0));
  std::string good = BuildPointsImage(two);
  std::string countTooLarge = good;
  const std::uint32_t huge = 0x7FFFFFFF;
  std::memcpy(countTooLarge.data() + 4, &huge, 4);
  std::string badMagic = good;
  badMagic[0] = 'X';
  const std::string shortHeader = good.substr(0, 100);
  const std::string cut = good.substr(0, 256 + 24 + 10);  // one record and a bit
  std::string nan = good;
  const double notANumber = std::nan("");
  std::memcpy(nan.data() + 256, &notANumber, 8);
  for (const std::string& bytes : {countTooLarge, badMagic, shortHeader, cut, nan}) {
    prompt_->Clear();
    EXPECT_FALSE(model_->ImportPointsImage(Write("bad.pts", bytes)));
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Cann't identified file!"});
  }
  EXPECT_FALSE(model_->ImportPointsImage(folder_ + "/missing.pts"));
  EXPECT_TRUE(model_->ImportPointsImage(Write("good.pts", good)));
}

TEST_F(ImportCommandsTest, ImportButtonShowsPressedWhileTheDialogIsOpen) {
  class WatchingDialog : public platform::FileDialog {
   public:
    explicit WatchingDialog(CVendrikViewModel& model) : model_(model) {}
    std::optional<std::string> Ask(const platform::FileDialogRequest&) override {
      checked = model_.IsCommandChecked(32782);
      return std::nullopt;
    }
    CVendrikViewModel& model_;
    bool checked = false;
  };
  auto dialog = std::make_shared<WatchingDialog>(*model_);
  platform::SetFileDialog(dialog);
  model_->RunCommand(ID_IMPORT_FILE, true);
  EXPECT_TRUE(dialog->checked);
  EXPECT_FALSE(model_->IsCommandChecked(ID_IMPORT_FILE));
}

TEST_F(ImportCommandsTest, UndecodablePictureIsRefusedWithAMessage) {
  EXPECT_FALSE(model_->ImportPicture(Write("picture.pcx", std::string(200, '\x0a'))));
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"This picture cannot be read!"});
}

TEST_F(ImportCommandsTest, AnImportedDrawingCanBeFilledFromItsCommand) {
  ASSERT_TRUE(ImportFromMenu(DataFile("plt/square-r14.plt")));
  CObjElement* drawing = At(1);
  ASSERT_TRUE(model_->RunCommand(32849, false));
  dialogs_.fillAngle = 45;
  dialogs_.fillDistance = 0.5f;
  ASSERT_TRUE(model_->RunCommand(32849, true));
  EXPECT_EQ(drawing->IsFillOn(), 1);
  EXPECT_FLOAT_EQ(drawing->fillAngle, 45);
  EXPECT_FLOAT_EQ(drawing->fillSpacing, 0.5f);
  dialogs_.ok = false;
  model_->RunCommand(32849, true);
  EXPECT_EQ(drawing->IsFillOn(), 1);
}
