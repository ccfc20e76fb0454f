// The two spellings of an object stream: the text form parser, and the
// conversion of a binary stream (bare or in its resource wrapper) to text
// and back. What one spelling holds, the other must hold the same.
#include "FuzzTargets.h"
#include "classes/Streaming.h"

#include <QStringDecoder>

#include <cstdlib>

namespace {

// Whatever tree was read, its text reads back and goes through binary (bare
// and wrapped) to the same text; a failure here, clean or not, is a find.
void CheckRoundTrip(const TObjectNode& tree)
{
    const QString text = WriteObjectText(tree);
    if (ObjectBinaryToText(ObjectTextToBinary(text)) != text)
        std::abort();
    if (ObjectResourceToText(ObjectTextToResource(text)) != text)
        std::abort();
}

}  // namespace

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
    CheckRoundTrip(tree);
    return 0;
}

int FuzzFormConv(const uint8_t* data, size_t size)
{
    TObjectNode tree;
    try {
        tree = ReadObjectData(FuzzInput(data, size));
    } catch (const Exception&) {
        return 0;
    }
    CheckRoundTrip(tree);
    return 0;
}
