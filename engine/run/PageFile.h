#pragma once
// The temporary file that holds the prepared pages a run keeps out of
// memory. Each page is written once, as a compact record of its recorded
// painting and its text lines (their fonts as numbers into a table kept in
// memory, since a run's lines share a few fonts), and read back whole. The
// file is created in the temporary folder on the first page and removed when
// its owner goes.
#include "PreparedReport.h"

#include <QByteArray>
#include <unordered_map>
#include <vector>

class TQRPageFile {
public:
    TQRPageFile() = default;
    ~TQRPageFile();
    TQRPageFile(const TQRPageFile&) = delete;
    TQRPageFile& operator=(const TQRPageFile&) = delete;

    // Appends the page. Raises EFCreateError when the file cannot be made and
    // EWriteError when it cannot take the page whole; the pages written
    // before stay readable.
    void Append(const TQRPreparedPage& page);
    int Count() const { return static_cast<int>(offsets_.size()) - 1; }
    // The page at index, 0-based; raises EReadError when it cannot be read.
    TQRPreparedPage Read(int index) const;
    // Empty until the first page made the file.
    const QString& FileName() const { return fileName_; }

private:
    void Create();
    quint32 FontNumber(const std::shared_ptr<TFont>& font);
    [[noreturn]] void Fail(bool writing, int error) const;

    int fd_ = -1;
    QString fileName_;
    std::vector<qint64> offsets_{0};  // where each page starts, and the end
    std::vector<std::shared_ptr<TFont>> fonts_;
    std::unordered_map<const TFont*, quint32> fontNumbers_;
    QByteArray record_;  // the page being written, kept for its capacity
};
