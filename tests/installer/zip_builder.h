// Builds ZIP archives in memory for the package reader's tests and fuzz
// seeds: stored or raw-deflated members, any time stamp, a trailing
// comment, and fields that can be made to lie afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

struct zip_builder {
    struct member {
        std::string name;
        size_t local;  // offset of its local header
    };
    std::string bytes;
    std::string central;
    std::vector<member> members;

    static void put16(std::string &s, uint32_t v)
    {
        s += static_cast<char>(v & 255);
        s += static_cast<char>((v >> 8) & 255);
    }
    static void put32(std::string &s, uint32_t v)
    {
        put16(s, v & 0xFFFF);
        put16(s, v >> 16);
    }

    static std::string deflate_raw(const std::string &data)
    {
        z_stream z = {};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        std::string out(deflateBound(&z, data.size()) + 16, '\0');
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FINISH);
        out.resize(z.total_out);
        deflateEnd(&z);
        return out;
    }

    // Adds a member; the extra field imitates the "UT" time stamp that the
    // product's archive carries and the reader skips.
    void add(const std::string &name, const std::string &data, bool deflated,
             uint16_t dos_date = 0x5A87, uint16_t dos_time = 0x6C2F)
    {
        std::string body = deflated ? deflate_raw(data) : data;
        std::string extra = "UT";
        put16(extra, 5);
        extra += '\x01';
        put32(extra, 0x5F000000);
        uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef *>(data.data()), static_cast<uInt>(data.size())));
        members.push_back({name, bytes.size()});
        put32(bytes, 0x04034B50);
        put16(bytes, 20);
        put16(bytes, 0);
        put16(bytes, deflated ? 8 : 0);
        put16(bytes, dos_time);
        put16(bytes, dos_date);
        put32(bytes, crc);
        put32(bytes, static_cast<uint32_t>(body.size()));
        put32(bytes, static_cast<uint32_t>(data.size()));
        put16(bytes, static_cast<uint32_t>(name.size()));
        put16(bytes, static_cast<uint32_t>(extra.size()));
        bytes += name + extra + body;

        put32(central, 0x02014B50);
        put16(central, 20);
        put16(central, 20);
        put16(central, 0);
        put16(central, deflated ? 8 : 0);
        put16(central, dos_time);
        put16(central, dos_date);
        put32(central, crc);
        put32(central, static_cast<uint32_t>(body.size()));
        put32(central, static_cast<uint32_t>(data.size()));
        put16(central, static_cast<uint32_t>(name.size()));
        put16(central, static_cast<uint32_t>(extra.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, 0);
        put32(central, static_cast<uint32_t>(members.back().local));
        central += name + extra;
    }

    std::string finish(const std::string &comment = "")
    {
        std::string out = bytes + central;
        put32(out, 0x06054B50);
        put16(out, 0);
        put16(out, 0);
        put16(out, static_cast<uint32_t>(members.size()));
        put16(out, static_cast<uint32_t>(members.size()));
        put32(out, static_cast<uint32_t>(central.size()));
        put32(out, static_cast<uint32_t>(bytes.size()));
        put16(out, static_cast<uint32_t>(comment.size()));
        return out + comment;
    }
};
