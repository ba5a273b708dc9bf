// The element block of the project file: the element's own keys around the
// object's class block.
#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"

namespace {

// Key lines, labels in code page 936.
constexpr char kKeyName[] = "201;\xb6\xd4\xcf\xf3\xc3\xfb\xb3\xc6";                  // 对象名称
constexpr char kKeyAttribute[] = "190;\xb1\xea\xbc\xc7\xca\xf4\xd0\xd4";             // 标记属性
constexpr char kKeyId[] = "106;id";
constexpr char kKeyLock[] = "107;Lock";
constexpr char kKeyDataSource[] = "108;\xca\xfd\xbe\xdd\xd4\xb4";                     // 数据源
constexpr char kKeyExcelColumn[] = "109;Excel\xc1\xd0\xb1\xea";                       // Excel列标
constexpr char kKeyLayer[] = "110;\xb6\xd4\xcf\xf3\xb5\xc4\xb2\xe3\xba\xc5";          // 对象的层号
constexpr char kKeyQueryKey[] = "111;\xb2\xe9\xd1\xaf\xb9\xd8\xbc\xfc";               // 查询关键
constexpr char kKeyType[] = "160;\xb6\xd4\xcf\xf3\xc0\xe0\xd0\xcd\xb1\xe0\xba\xc5";   // 对象类型编号
constexpr char kKeyPenDown[] = "161;\xc6\xf0\xb1\xca\xd1\xd3\xca\xb1";                // 起笔延时
constexpr char kKeyPenChange[] = "162;\xbb\xbb\xb1\xca\xd1\xd3\xca\xb1";              // 换笔延时
constexpr char kKeyObjectEnd[] = "163;\xb6\xd4\xcf\xf3\xbd\xe1\xca\xf8\xd1\xd3\xca\xb1";  // 对象结束延时
constexpr char kKeyMarkCount[] = "164;\xb6\xd4\xcf\xf3\xb1\xea\xbc\xc7\xb4\xce\xca\xfd";  // 对象标记次数
constexpr char kKeyColor[] = "165;Color";
constexpr char kKeyRotation[] = "60;\xb6\xd4\xcf\xf3\xd0\xfd\xd7\xaa\xbd\xc7\xb6\xc8";  // 对象旋转角度
constexpr char kKeyFillAngle[] = "61;\xb6\xd4\xcf\xf3\xcc\xee\xb3\xe4\xbd\xc7\xb6\xc8";  // 对象填充角度
constexpr char kKeyFillSpacing[] = "62;\xb6\xd4\xcf\xf3\xcc\xee\xb3\xe4\xbc\xe4\xb8\xf4";  // 对象填充间隔
constexpr char kKeyES[] = "63;ES";
constexpr char kKeyLS[] = "64;LS";

}  // namespace

void CObjElement::WriteBlock(MrkLineWriter& out, bool withQueryKey, const std::string& projectPath) const {
  out.WritePair(kMrkObjectStart, kMrkObjectStartValue);
  out.WriteText(kKeyName, name);
  out.WriteInt(kKeyAttribute, attribute);
  out.WriteInt(kKeyId, id);
  out.WriteInt(kKeyLock, lock);
  out.WriteInt(kKeyDataSource, dataSource);
  out.WriteInt(kKeyExcelColumn, excelColumn);
  out.WriteInt(kKeyLayer, layer);
  if (withQueryKey) out.WriteInt(kKeyQueryKey, queryKey);
  out.WriteInt(kKeyType, type);
  out.WriteInt(kKeyPenDown, penDownDelay);
  out.WriteInt(kKeyPenChange, penChangeDelay);
  out.WriteInt(kKeyObjectEnd, objectEndDelay);
  out.WriteInt(kKeyMarkCount, markCount);
  out.WriteInt(kKeyColor, color);
  out.WriteDouble(kKeyRotation, rotation, 4);
  out.WriteDouble(kKeyFillAngle, fillAngle, 4);
  out.WriteDouble(kKeyFillSpacing, fillSpacing, 4);
  out.WriteDouble(kKeyES, emptySpeed, 3);
  out.WriteDouble(kKeyLS, lineSpeed, 3);
  WriteClassBlock(out, projectPath);
  out.WritePair(kMrkObjectEnd, kMrkObjectEndValue);
}

void CObjElement::WriteToMrk(MrkLineWriter& out) const { WriteBlock(out, true, {}); }

void CObjElement::WriteSpecialToMrk(MrkLineWriter& out, const std::string& projectPath) const {
  WriteBlock(out, false, projectPath);
}
