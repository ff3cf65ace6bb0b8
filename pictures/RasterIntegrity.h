#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace zdawnik {

// Structural checks made before a raster file is handed to its decoder. Qt's readers fill the
// missing part of a JPEG or BMP that was cut short and report success, so a file is first walked
// here, cheaply and without decoding, to see that it is whole. Each returns an empty string for a
// file that looks whole, otherwise the reason it is damaged.

// The signature and the chunk chain up to IEND.
QString CheckPngIntegrity(QByteArrayView data);

// The marker segments from SOI to EOI, stepping over the entropy-coded data of every scan, so that
// the end marker of an embedded thumbnail is not taken for the end of the file. Qt's reader also
// fills in what is missing when the scans hold far less data than the image needs, so that counts
// as damage too: a scan coding the first coefficient of its blocks (a Huffman code of at least a
// bit for each) whose data is shorter than that, or a component that no scan codes. The walk also
// tells what it learnt of the decoder's needs.
struct JpegWalk
{
    QString damage;              // empty for a file that looks whole
    qint64 coefficientBytes = 0; // what a decoder holds for the whole image while it reads a
                                 // progressive file; 0 for a sequential one
};
JpegWalk WalkJpeg(QByteArrayView data);

// The headers, and for uncompressed pixels the length the declared size needs.
QString CheckBmpIntegrity(QByteArrayView data);

// The directory of images, each of which must lie inside the file.
QString CheckIcoIntegrity(QByteArrayView data);

// The size image `index` of an icon file (one CheckIcoIntegrity passed) is decoded at. Qt's reader
// reports, and decodes a bitmap image at, the size in the directory (`reported`); an image stored as
// PNG it decodes at the size the PNG's own header declares, whatever the directory says, so that is
// the size to judge. An invalid size when that header cannot be read.
QSize IcoImageSize(QByteArrayView data, qsizetype index, QSize reported);

} // namespace zdawnik
