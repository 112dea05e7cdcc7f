#pragma once

#include <QString>

class QTextDocument;

// Reads an RTF text into a rich-text document, replacing what it held: groups,
// the font and colour tables, character formatting (\f, \fs, \b, \i, \ul,
// \strike, \cf, \plain), paragraphs and alignment, symbol words, \'hh bytes in
// the declared ANSI code page and \uN with its \ucN fallback. Destinations it
// does not render are skipped, unknown control words ignored. Damaged input
// (unbalanced braces, huge numbers, deep nesting, truncated escapes) never
// fails: whatever can be read is rendered, in time linear in the input.
void ReadRtf(const QString& rtf, QTextDocument& doc);

// Text made safe to stand inside an RTF document as plain text: backslashes
// and braces escaped, characters outside ASCII written as \uN with a "?" for
// readers that do not know \u (the document must declare \uc1).
QString RtfEscape(const QString& text);
