#include "devtools/make-pictures/Quantiser.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <vector>

namespace zdawnik::tools {

namespace {

struct Entry
{
    QRgb colour;
    int count;
};

int Channel(QRgb c, int channel)
{
    return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
}

struct Box
{
    std::vector<Entry> entries;

    int Range(int channel) const
    {
        const auto [lo, hi] =
            std::minmax_element(entries.begin(), entries.end(), [channel](auto& a, auto& b) {
                return Channel(a.colour, channel) < Channel(b.colour, channel);
            });
        return Channel(hi->colour, channel) - Channel(lo->colour, channel);
    }

    int WidestChannel() const
    {
        const std::array<int, 3> ranges = {Range(0), Range(1), Range(2)};
        return static_cast<int>(std::max_element(ranges.begin(), ranges.end()) - ranges.begin());
    }

    QRgb Mean() const
    {
        std::array<double, 3> sum = {0, 0, 0};
        double weight = 0;
        for (const Entry& e : entries) {
            for (int c = 0; c < 3; ++c)
                sum[c] += Channel(e.colour, c) * double(e.count);
            weight += e.count;
        }
        return qRgb(qRound(sum[0] / weight), qRound(sum[1] / weight), qRound(sum[2] / weight));
    }
};

} // namespace

QImage QuantiseKeeping(const QImage& image, int maxColours, QRgb exact)
{
    if (maxColours < 2 || maxColours > 256)
        throw std::invalid_argument("QuantiseKeeping: 2 to 256 colours");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    exact |= 0xFF000000u;

    std::map<QRgb, int> histogram;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x)
            ++histogram[rgb.pixel(x, y)];
    }
    const bool hasExact = histogram.erase(exact) > 0;

    std::vector<Box> boxes;
    if (!histogram.empty()) {
        Box all;
        for (const auto& [colour, count] : histogram)
            all.entries.push_back({colour, count});
        boxes.push_back(std::move(all));
    }
    const int budget = maxColours - (hasExact ? 1 : 0);
    while (static_cast<int>(boxes.size()) < budget) {
        // Split the box with the widest spread of colour, weighted by how many pixels it covers.
        auto widest = boxes.end();
        long best = 0;
        for (auto it = boxes.begin(); it != boxes.end(); ++it) {
            if (it->entries.size() < 2)
                continue;
            long pixels = 0;
            for (const Entry& e : it->entries)
                pixels += e.count;
            const long score = long(it->Range(it->WidestChannel())) * pixels;
            if (score > best || widest == boxes.end()) {
                best = score;
                widest = it;
            }
        }
        if (widest == boxes.end())
            break;
        const int channel = widest->WidestChannel();
        std::vector<Entry> entries = std::move(widest->entries);
        std::sort(entries.begin(), entries.end(), [channel](auto& a, auto& b) {
            return Channel(a.colour, channel) < Channel(b.colour, channel);
        });
        long total = 0;
        for (const Entry& e : entries)
            total += e.count;
        std::size_t cut = 1;
        for (long seen = entries[0].count; cut < entries.size() - 1 && seen * 2 < total; ++cut)
            seen += entries[cut].count;
        widest->entries.assign(entries.begin(), entries.begin() + static_cast<long>(cut));
        Box rest;
        rest.entries.assign(entries.begin() + static_cast<long>(cut), entries.end());
        boxes.push_back(std::move(rest));
    }

    QList<QRgb> palette;
    std::map<QRgb, int> indexOf;
    if (hasExact) {
        palette.append(exact);
        indexOf[exact] = 0;
    }
    for (const Box& box : boxes) {
        QRgb mean = box.Mean();
        if (mean == exact) // a near neighbour of the kept colour must stay apart from it
            mean = box.entries.front().colour;
        const int index = static_cast<int>(palette.size());
        palette.append(mean);
        for (const Entry& e : box.entries)
            indexOf[e.colour] = index;
    }

    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        uchar* line = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            line[x] = static_cast<uchar>(indexOf.at(rgb.pixel(x, y)));
    }
    return indexed;
}

} // namespace zdawnik::tools
