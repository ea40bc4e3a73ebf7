#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The text a label's bytes stand for. Files from older tools hold Latin-1 or Windows-1252
// labels, which are seldom valid UTF-8: bytes that are valid UTF-8 are read as UTF-8, any
// others as Windows-1252, so that every byte shows as a character of its own.
QString LabelText(const QByteArray &bytes);

// Windows-1252 alone: the five bytes it leaves undefined become the control characters
// of the same number, as Latin-1 has them.
QString DecodeWindows1252(const QByteArray &bytes);

// The Windows-1252 bytes of `text`, for text typed into a file of that encoding; none when
// a character has no byte there.
std::optional<QByteArray> EncodeWindows1252(const QString &text);
