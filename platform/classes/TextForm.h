#pragma once
// The text form of an object stream, for form resources kept in source and
// for people:
//
//   object Form1: TForm1
//     Caption = 'It''s'#13#10'done'
//     Font.Style = [fsBold]
//     Lines.Strings = (
//       'a'
//       'b')
//     object Panel1: TPanel
//     end
//   end
//
// Writing is deterministic, so text -> binary -> text gives the same text.
// Reading raises EReadError with the line of the fault.
#include "StreamNode.h"

QString WriteObjectText(const TObjectNode& root);
TObjectNode ReadObjectText(const QString& text);

// Conversions between the three spellings of an object stream.
QByteArray ObjectTextToBinary(const QString& text);         // bare "TPF0" stream
QString ObjectBinaryToText(const QByteArray& stream);
QByteArray ObjectTextToResource(const QString& text);       // with the resource wrapper
QString ObjectResourceToText(const QByteArray& resource);
