#pragma once
// Line-oriented text output file with checked I/O: every failure raises
// EInOutError with the operating system's error code.
#include <QString>
#include <cstdio>

class TTextFile {
public:
    TTextFile() = default;
    ~TTextFile();
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;

    void Rewrite(const QString& fileName);  // create or truncate
    void Write(const QString& text);        // Windows-1252
    void WriteLn(const QString& text);      // text and CR LF
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

private:
    [[noreturn]] void Fail(int code);
    std::FILE* file_ = nullptr;
};
