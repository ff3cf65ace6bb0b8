#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <string_view>

namespace zdawnik {

// Appends the fields of the Windows picture containers (BMP, ICO, CUR, the DIBs inside metafiles),
// which are all little-endian. Fields are read with qFromLittleEndian.
class LittleEndian
{
public:
    explicit LittleEndian(QByteArray& out) : m_out(out) {}

    void u8(std::uint8_t v) { m_out.append(static_cast<char>(v)); }
    void u16(std::uint16_t v) { append(v); }
    void u32(std::uint32_t v) { append(v); }
    void i32(std::int32_t v) { append(v); }
    void bytes(std::string_view text) { m_out.append(text.data(), static_cast<qsizetype>(text.size())); }

private:
    template <typename T> void append(T v)
    {
        char field[sizeof(T)];
        qToLittleEndian(v, field);
        m_out.append(field, sizeof field);
    }

    QByteArray& m_out;
};

} // namespace zdawnik
