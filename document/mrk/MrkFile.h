#pragma once
// Project files (.mrk): the whole element array as key/value line pairs. A
// header of five pairs, one element block per element (element 0, the machine
// parameter record, first) and an end marker. Each class writes and reads its
// own keys through its table (ObjTypeOps.h); this code only frames them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CObjPtrArray;

// File versions named in the header.
constexpr int kMrkVersion2004 = 1;  // "Ver2004": older files that need corrections on reading
constexpr int kMrkVersion2008 = 2;  // "Ver2008": what we write

// Header key lines (code page 936 labels) and the fixed values we write.
inline constexpr char kMrkKeyTitle[] = "200;\xb1\xea\xcc\xe2";                             // 200;标题
inline constexpr char kMrkKeyFormatNote[] = "200;\xb8\xf1\xca\xbd\xcb\xb5\xc3\xf7";       // 200;格式说明
inline constexpr char kMrkKeyAuthor[] = "200;\xd7\xf7\xd5\xdf\xc9\xf9\xc3\xf7";           // 200;作者声明
inline constexpr char kMrkKeyContact[] = "200;\xc1\xaa\xcf\xb5\xb7\xbd\xca\xbd";          // 200;联系方式
inline constexpr char kMrkKeyVersion[] = "200;\xce\xc4\xbc\xfe\xb0\xe6\xb1\xbe\xba\xc5";  // 200;文件版本号
inline constexpr char kMrkTitleText[] = "This file is a marking project of the Vendrik dot-peen marking software.";
inline constexpr char kMrkFormatNoteText[] = "Don't change the file use hand by hand! Or it can't work normal!";
inline constexpr char kMrkAuthorText[] = "Vendrik layout and control software for pneumatic dot-peen marking machines.";
inline constexpr char kMrkContactText[] = "See the service address on the machine's name plate.";
inline constexpr char kMrkVersion2004Text[] = "Ver2004";
inline constexpr char kMrkVersion2008Text[] = "Ver2008";

// Shown (stop icon) when a file does not start like a project file.
inline constexpr char kMrkNotProjectText[] = "Open file error\xef\xbc\x8c" "Data is destroyed!\nOperation is terminated!";

// The bytes of a project file for the elements. projectPath is handed to the
// classes that embed files of their own (pictures).
std::string FormatMrkFile(const CObjPtrArray& objects, const std::string& projectPath);

// Writes the project file as a whole (a temporary file beside it, then a
// rename), so a failed save leaves the old file as it was. Returns 1 when the
// whole file is stored, 0 on any error.
int WriteMrkFile(const std::string& path, const CObjPtrArray& objects);

// Stores bytes as a whole file the way project and dot files are saved: a
// file the user made read-only is refused like one that cannot be created,
// and a link is followed to the file it names. True when stored.
bool StoreWholeFile(const std::string& path, std::string_view bytes);

// Reading a project builds every object's strokes (outlines, fills, text
// and ruler strokes) from a few numbers each: a 53 KB file of forty fills
// took 553 MB, and thirty rulers at their own bound a gigabyte. All objects
// of one reading may hold this many points together, five fills at their
// own bound of 200000 strokes (a reading of them peaks at 125 MB), and as
// many more as the file has bytes, so drawings the file stores point by
// point (dozens of bytes a point) always fit. The object that would pass it
// and every object after it are left empty: their strokes are dropped, and
// so are their outlines' points where they make them from their settings
// (texts, rulers, codes, arcs, borders); an object makes them anew when it
// is next changed. The objects after it are left empty before they are
// built (texts, rulers and codes are not laid out, no fill is made), so
// however many there are, they cost the reading little more than their
// bytes.
constexpr long long kMaxProjectPoints = 2000000;

// Decoded pictures a project holds at most, in bytes: one picture of the
// largest size read, 64 million pixels, in true colour fits.
constexpr std::size_t kMaxProjectPictureBytes = std::size_t{256} << 20;

// Appends the elements of a project file to objects (callers that want a
// fresh document empty it first). Returns 0 after showing kMrkNotProjectText
// when the file does not start with a key 200 line; 1 otherwise, with every
// element that was complete appended. A file that cannot be opened gives 1
// and nothing. The file is only read, so read-only files load.
// An element whose class has no table keeps its class block as read
// (CObjElement::keptClassBlock) and is written back with it. The names of
// the objects left empty (above) go to leftEmpty when it is given.
int ReadMrkFile(const std::string& path, CObjPtrArray& objects, std::vector<std::string>* leftEmpty = nullptr);

// The same on the bytes of a file already in memory (undo snapshots).
int ReadMrkBytes(std::string_view content, CObjPtrArray& objects, std::vector<std::string>* leftEmpty = nullptr,
                 std::size_t pictureBudget = kMaxProjectPictureBytes);
