// The formconv tool end to end: text -> resource -> bare stream -> text.
#include <gtest/gtest.h>

#include "classes/Streaming.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <csignal>
#include <cstring>
#include <limits>
#include <optional>
#include <sys/resource.h>

namespace {

// fileSizeLimit: the RLIMIT_FSIZE of the converter's process, when given,
// which then starts with SIGXFSZ at its default as from a shell.
int RunFormConv(const QStringList& args, QString* errors = nullptr, std::optional<rlim_t> fileSizeLimit = {})
{
    QProcess p;
    if (fileSizeLimit)
        p.setChildProcessModifier([limit = *fileSizeLimit] {
            const rlimit r{limit, limit};
            setrlimit(RLIMIT_FSIZE, &r);
            std::signal(SIGXFSZ, SIG_DFL);
        });
    p.start(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv"), args);
    p.waitForFinished();
    if (errors)
        *errors = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray Contents(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(FormConv, ConvertsBetweenAllSpellings)
{
    if (!QFile::exists(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv")))
        GTEST_SKIP() << "formconv is not built here (run through ctest)";
    QTemporaryDir dir;
    const QString text = QStringLiteral("object Dialog: TDialog\n  Caption = 'Grüße'\n  object OK: TButton\n    Tag = 1\n  end\nend\n");
    QFile src(dir.filePath(QStringLiteral("Dialog.dfm")));
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write(text.toUtf8());
    src.close();

    ASSERT_EQ(RunFormConv({src.fileName(), dir.filePath(QStringLiteral("Dialog.QR"))}), 0);
    EXPECT_EQ(Contents(dir.filePath(QStringLiteral("Dialog.QR"))), ObjectTextToResource(text));
    ASSERT_EQ(RunFormConv({QStringLiteral("--bare"), dir.filePath(QStringLiteral("Dialog.QR")), dir.filePath(QStringLiteral("Dialog.bin"))}), 0);
    EXPECT_EQ(Contents(dir.filePath(QStringLiteral("Dialog.bin"))), ObjectTextToBinary(text));
    ASSERT_EQ(RunFormConv({dir.filePath(QStringLiteral("Dialog.bin")), dir.filePath(QStringLiteral("Back.txt"))}), 0);
    EXPECT_EQ(QString::fromUtf8(Contents(dir.filePath(QStringLiteral("Back.txt")))), text);

    ASSERT_EQ(RunFormConv({QStringLiteral("--cpp"), QStringLiteral("DialogFormResource"), src.fileName(), dir.filePath(QStringLiteral("Dialog.cpp"))}), 0);
    EXPECT_TRUE(Contents(dir.filePath(QStringLiteral("Dialog.cpp"))).contains("const QByteArray& DialogFormResource()"));

    QString errors;
    QFile::resize(dir.filePath(QStringLiteral("Dialog.QR")), 20);
    EXPECT_EQ(RunFormConv({dir.filePath(QStringLiteral("Dialog.QR")), dir.filePath(QStringLiteral("x.txt"))}, &errors), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("Stream read error"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.txt"))));
}

// A conversion whose output crosses the file-size limit is an error message,
// not a killed converter, and leaves no temporary file behind.
TEST(FormConv, OutputOverTheFileSizeLimitIsAnError)
{
    if (!QFile::exists(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv")))
        GTEST_SKIP() << "formconv is not built here (run through ctest)";
    QTemporaryDir dir;
    QFile src(dir.filePath(QStringLiteral("Big.dfm")));
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write("object Big: TForm\n  Data = {");
    src.write(QByteArray(60000, 'A'));  // 30000 bytes of data
    src.write("}\nend\n");
    src.close();
    QString errors;
    EXPECT_EQ(RunFormConv({src.fileName(), dir.filePath(QStringLiteral("Big.QR"))}, &errors, rlim_t(25000)), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("I/O error"))) << errors.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Big.dfm")});
}

namespace {

// Pieces of a hand-made binary stream.
QByteArray Short(const QByteArray& s) { return char(s.size()) + s; }
QByteArray Le(quint64 v, int size)
{
    QByteArray out;
    for (int i = 0; i < size; ++i, v >>= 8)
        out.append(char(v & 0xFF));
    return out;
}
QByteArray Typed(TValueType type, const QByteArray& payload) { return char(type) + payload; }
QByteArray Extended(double v)
{
    const auto b = DoubleToExtended(v);
    return Typed(TValueType::Extended, QByteArray(reinterpret_cast<const char*>(b.data()), 10));
}
QByteArray Double(TValueType type, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return Typed(type, Le(bits, 8));
}
// A root object of class and name with one property.
QByteArray Root(const QByteArray& className, const QByteArray& name, const QByteArray& property, const QByteArray& value,
                const QByteArray& prefix = {})
{
    return "TPF0" + prefix + Short(className) + Short(name) + Short(property) + value + '\0' + '\0';
}
QByteArray Prop(const QByteArray& name, const QByteArray& value) { return Root("TForm", "Form1", name, value); }

enum class Outcome { RoundTrip, ReadError, WriteError };

}  // namespace

// Whatever a binary stream holds, a conversion to text either fails with a
// clear error or gives text that reads back to the same tree, and converts
// back and forth to the same text, through formconv as through the library.
TEST(FormConv, EveryBinaryStreamThatConvertsReadsBack)
{
    const bool haveTool = QFile::exists(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv"));
    const QByteArray tag = Typed(TValueType::Int8, "\x01");
    QByteArray utf16;
    for (char16_t unit : {u'a', char16_t(0xD800), u'b', char16_t(0xD83D), char16_t(0xDE00), char16_t(0xDC00)})
        utf16 += Le(unit, 2);
    const struct {
        const char* Name;
        QByteArray Stream;
        Outcome Expected;
    } cases[] = {
        {"plain", Prop("Tag", tag), Outcome::RoundTrip},
        {"class name with NUL", Root(QByteArray("T\0X", 3), "Form1", "Tag", tag), Outcome::ReadError},
        {"empty class name", Root("", "Form1", "Tag", tag), Outcome::ReadError},
        {"class name with a space", Root("T X", "Form1", "Tag", tag), Outcome::ReadError},
        {"component name with NUL", Root("TForm", QByteArray("\0", 1), "Tag", tag), Outcome::ReadError},
        {"component name starting with a digit", Root("TForm", "1Form", "Tag", tag), Outcome::ReadError},
        {"no component name", Root("TForm", "", "Tag", tag), Outcome::RoundTrip},
        {"dotted names", Root("T.Form", "Form.1", "Font.Name", tag), Outcome::RoundTrip},
        {"property name with NUL", Prop(QByteArray("Ta\0g", 4), tag), Outcome::ReadError},
        {"empty property name", Prop("", tag), Outcome::ReadError},
        {"property named end", Prop("End", tag), Outcome::ReadError},
        {"property named object", Prop("object", tag), Outcome::ReadError},
        {"property named inline", Prop("INLINE", tag), Outcome::ReadError},
        {"property named inherited", Prop("inHerited", tag), Outcome::ReadError},
        {"property names that start as words do", Prop("Ends", tag), Outcome::RoundTrip},
        {"property name a word starts with", Prop("Inherit", tag), Outcome::RoundTrip},
        {"empty identifier", Prop("Align", Typed(TValueType::Ident, Short(""))), Outcome::ReadError},
        {"identifier True", Prop("Align", Typed(TValueType::Ident, Short("True"))), Outcome::ReadError},
        {"identifier nil", Prop("Align", Typed(TValueType::Ident, Short("NIL"))), Outcome::ReadError},
        {"identifier with NUL", Prop("Align", Typed(TValueType::Ident, Short(QByteArray("al\0", 3)))), Outcome::ReadError},
        {"identifier end", Prop("Align", Typed(TValueType::Ident, Short("end"))), Outcome::RoundTrip},
        {"set element with a space", Prop("Style", Typed(TValueType::Set, Short("fs Bold") + '\0')), Outcome::ReadError},
        {"set element with NUL", Prop("Style", Typed(TValueType::Set, Short(QByteArray("\0x", 2)) + '\0')), Outcome::ReadError},
        {"set", Prop("Style", Typed(TValueType::Set, Short("fsBold") + Short("end") + '\0')), Outcome::RoundTrip},
        {"control characters and quotes", Prop("Caption", Typed(TValueType::String, Short(QByteArray("\0a\x01'\n\x7f\x81''", 9)))),
         Outcome::RoundTrip},
        {"long string", Prop("Caption", Typed(TValueType::LString, Le(300, 4) + QByteArray(300, '\''))), Outcome::RoundTrip},
        {"lone surrogates", Prop("Caption", Typed(TValueType::WString, Le(6, 4) + utf16)), Outcome::RoundTrip},
        {"invalid UTF-8", Prop("Caption", Typed(TValueType::Utf8String, Le(3, 4) + "\xC3\x28\xFF")), Outcome::RoundTrip},
        {"extended NaN", Prop("X", Extended(std::nan(""))), Outcome::WriteError},
        {"extended infinity", Prop("X", Extended(-HUGE_VAL)), Outcome::WriteError},
        {"extended beyond a double", Prop("X", Typed(TValueType::Extended, QByteArray(8, '\xFF') + "\xFF\x70")), Outcome::WriteError},
        {"extended subnormal", Prop("X", Extended(std::numeric_limits<double>::denorm_min())), Outcome::RoundTrip},
        {"extended largest", Prop("X", Extended(std::numeric_limits<double>::max())), Outcome::RoundTrip},
        {"single NaN", Prop("X", Typed(TValueType::Single, Le(0x7FC00000, 4))), Outcome::WriteError},
        {"single largest", Prop("X", Typed(TValueType::Single, Le(0x7F7FFFFF, 4))), Outcome::RoundTrip},
        {"date infinity", Prop("X", Double(TValueType::Date, HUGE_VAL)), Outcome::WriteError},
        {"currency", Prop("X", Typed(TValueType::Currency, Le(quint64(-123456789), 8))), Outcome::RoundTrip},
        {"currency largest", Prop("X", Typed(TValueType::Currency, Le(0x7FFFFFFFFFFFFFFF, 8))), Outcome::ReadError},
        {"int64 smallest", Prop("X", Typed(TValueType::Int64, Le(quint64(1) << 63, 8))), Outcome::RoundTrip},
        {"inherited and inline", Root("TFrame", "Frame1", "Tag", tag, "\xF5"), Outcome::WriteError},
        {"collection item property named end",
         Prop("Items", Typed(TValueType::Collection, QByteArray(1, char(TValueType::List)) + Short("end") + tag + '\0' + '\0')),
         Outcome::ReadError},
        {"nested values",
         Prop("Items", Typed(TValueType::Collection, tag + char(TValueType::List) + Short("Strings") +
                                                         Typed(TValueType::List, Typed(TValueType::Binary, Le(0, 4)) + Typed(TValueType::Nil, "") + '\0') +
                                                         '\0' + '\0')),
         Outcome::RoundTrip},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Expected == Outcome::ReadError) {
            EXPECT_THROW(ReadObjectStream(c.Stream), EReadError);
        } else if (c.Expected == Outcome::WriteError) {
            EXPECT_THROW(ObjectBinaryToText(c.Stream), EWriteError);
        } else {
            const QString text = ObjectBinaryToText(c.Stream);
            EXPECT_TRUE(ReadObjectText(text) == ReadObjectStream(c.Stream)) << text.toStdString();
            EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
        }
        if (!haveTool)
            continue;
        const QString bin = dir.filePath(QStringLiteral("in.bin")), txt = dir.filePath(QStringLiteral("out.txt"));
        QFile::remove(txt);
        QFile f(bin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.Stream);
        f.close();
        QString errors;
        const int converted = RunFormConv({bin, txt}, &errors);
        EXPECT_EQ(converted, c.Expected == Outcome::RoundTrip ? 0 : 1) << errors.toStdString();
        if (converted != 0)
            continue;
        if (RunFormConv({QStringLiteral("--bare"), txt, dir.filePath(QStringLiteral("back.bin"))}, &errors) != 0 ||
            RunFormConv({dir.filePath(QStringLiteral("back.bin")), dir.filePath(QStringLiteral("back.txt"))}, &errors) != 0) {
            ADD_FAILURE() << "the text does not convert back: " << errors.toStdString();
            continue;
        }
        EXPECT_EQ(Contents(dir.filePath(QStringLiteral("back.txt"))), Contents(txt));
    }
}
