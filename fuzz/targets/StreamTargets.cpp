// The two spellings of an object stream: the text form parser, and the
// conversion of a binary stream (bare or in its resource wrapper) to text
// and back.
#include "FuzzTargets.h"
#include "classes/Streaming.h"

#include <QStringDecoder>

#include <cstdlib>

int FuzzTextForm(const uint8_t* data, size_t size)
{
    auto decode = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(FuzzInput(data, size));
    TObjectNode tree;
    try {
        tree = ReadObjectText(text);
    } catch (const Exception&) {
        return 0;
    }
    // whatever text reads, its written text reads back and goes through
    // binary, bare and wrapped, to the same text; any failure here is a find
    const QString written = WriteObjectText(tree);
    if (ObjectBinaryToText(ObjectTextToBinary(written)) != written ||
        ObjectResourceToText(ObjectTextToResource(written)) != written)
        std::abort();
    return 0;
}

int FuzzFormConv(const uint8_t* data, size_t size)
{
    try {
        // a binary stream may hold names that no text spells: the way back
        // may refuse them, cleanly
        const QString text = WriteObjectText(ReadObjectData(FuzzInput(data, size)));
        (void)ObjectTextToBinary(text);
        (void)ObjectTextToResource(text);
    } catch (const Exception&) {
    }
    return 0;
}
