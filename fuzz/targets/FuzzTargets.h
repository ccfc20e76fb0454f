#pragma once
// The fuzz targets. Each takes one input of arbitrary bytes and hands it to
// one reader of the system the way the system reads such a file. A clean
// error of the library (an Exception) is a pass; a crash, a sanitizer
// report, a leak or any other exception is a find. The libFuzzer programs
// (fuzz/, VK_FUZZ) and the regression test over the inputs that once failed
// (tests/fuzz) call the same functions. The designer units must be started.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

using TFuzzTarget = int (*)(const uint8_t* data, size_t size);

int FuzzLayout(const uint8_t* data, size_t size);      // a *.QR layout file opened by the designer control
int FuzzTextForm(const uint8_t* data, size_t size);    // the text form parser
int FuzzFormConv(const uint8_t* data, size_t size);    // object stream or resource to text and back
int FuzzDbf(const uint8_t* data, size_t size);         // a dBase table and its memo file (PackTableInput)
int FuzzParadox(const uint8_t* data, size_t size);     // a Paradox table and its blob file (PackTableInput)
int FuzzPicture(const uint8_t* data, size_t size);     // Picture.Data, and a picture file of any format
int FuzzExpression(const uint8_t* data, size_t size);  // parse and evaluate an expression

struct TFuzzTargetInfo {
    const char* Name;  // of the harness program (fuzz_<Name>) and of its corpus folders
    TFuzzTarget Run;
};
const std::vector<TFuzzTargetInfo>& FuzzTargets();

QByteArray FuzzInput(const uint8_t* data, size_t size);

// A table input holds two files: a 32-bit little-endian length, that many
// bytes of the table file, then the memo (or blob) file up to the end.
QByteArray PackTableInput(const QByteArray& table, const QByteArray& memo);
void UnpackTableInput(const QByteArray& input, QByteArray& table, QByteArray& memo);

// A folder of the process's own, removed at its end, for the files a target
// writes (an input must reach some readers as a file).
QString FuzzScratchPath(const QString& fileName);
void WriteScratchFile(const QString& path, const QByteArray& data);
