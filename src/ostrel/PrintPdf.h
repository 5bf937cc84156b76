#pragma once
// Printing to a PDF file without a display: the sheets Print all prints, or one sheet as Print
// current prints it, on A4 paper at 600 dots per inch. The file appears only when it was written
// completely; errors go to standard error.
#include <string>

class cuiMain;

// 0 when out was written, else 1 (with the reason on standard error). sheet "" prints all sheets;
// fontSize is the printer font size setting in points.
int PrintPdf(cuiMain& window, int fontSize, const std::string& sheet, const std::string& out);
