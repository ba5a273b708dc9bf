#pragma once
// Independent readers for the codes the barcode object marks: its dots are
// painted as black modules with a quiet zone into a grey image, which zbar
// (QR Code) or libdmtx (DataMatrix) decodes.
#include <string>

#include "document/geometry/CPointList.h"

// The dots as modules of the given pitch; "<not found>" when the reader finds nothing.
std::string ReadQrDots(const CPointList& dots, double module);
std::string ReadDataMatrixDots(const CPointList& dots, double module);
// Modules across and down the dots' grid.
int DotColumns(const CPointList& dots, double module);
int DotRows(const CPointList& dots, double module);
