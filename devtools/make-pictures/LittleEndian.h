#pragma once

#include <QByteArray>

#include <cstdint>
#include <string_view>

namespace zdawnik::tools {

// Appends the fields of the Windows picture containers (BMP, ICO, CUR), which are all little-endian.
class LittleEndian
{
public:
    explicit LittleEndian(QByteArray& out) : m_out(out) {}

    void u8(std::uint8_t v) { m_out.append(static_cast<char>(v)); }
    void u16(std::uint16_t v)
    {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void bytes(std::string_view text) { m_out.append(text.data(), static_cast<qsizetype>(text.size())); }

private:
    QByteArray& m_out;
};

} // namespace zdawnik::tools
