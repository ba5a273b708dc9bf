#pragma once
// The calendar day of a spreadsheet date serial number. In the 1900 system day
// 1 is 1900-01-01 and day 60 is the 29 February 1900 that spreadsheets have
// always counted; day 0 shows as 1900-01-00. In the 1904 system day 0 is
// 1904-01-01.
namespace tabrion {

struct SerialDate {
  int year = 1900;
  int month = 1;    // 1..12
  int day = 0;      // 0..31
  int weekday = 0;  // 0 Sunday .. 6 Saturday, as the spreadsheet counts them

  // days is the whole part of the serial number, 0 or more.
  static SerialDate FromDays(long long days, bool date1904);
};

}  // namespace tabrion
