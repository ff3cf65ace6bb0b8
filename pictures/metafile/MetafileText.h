#pragma once

#include <QByteArrayView>
#include <QString>

namespace zdawnik {

// The text of a metafile text record, whose bytes are in the code page that the character set of
// its font (a LOGFONT lfCharSet value) stands for: Windows-1250 for EASTEUROPE_CHARSET, Windows-1251
// for RUSSIAN_CHARSET and so on. DEFAULT_CHARSET means the code page of the system that made the
// file; for the Polish banks this program serves that is Windows-1250, as it is for their question
// files. Bytes a code page leaves undefined become U+FFFD.
QString DecodeMetafileText(QByteArrayView bytes, int charset);

// A face name as the metafile gives it, without the " CE" that Windows once appended to the
// Central European variants of its fonts (no such family exists elsewhere).
QString MetafileFontFamily(QByteArrayView faceName, int charset);

} // namespace zdawnik
