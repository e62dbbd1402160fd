// The GDI conformance table's statements run on the platform's GDI (Windows, Wine or ours):
// see tests/data/gdi_conformance.tsv for what they are.
#include "scripts/gdi/gdi_table.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Words;

struct Pic {
    HDC dc = 0;
    HBITMAP bitmap = 0;
    HGDIOBJ displaced = 0;
    uint8_t *bits = 0; // DIB sections
    int width = 0, height = 0, bpp = 0;
};

// A BITMAPINFO with room for a colour table.
struct Info {
    BITMAPINFOHEADER header;
    uint32_t colors[256];
};

long long Number(const std::string &word)
{
    return strtoll(word.c_str(), 0, 0);
}

uint32_t Hex(const std::string &word)
{
    return (uint32_t)strtoul(word.c_str(), 0, 16);
}

void Info_Set(Info *info, const Words &w, size_t first)
{
    memset(info, 0, sizeof *info);
    info->header.biSize = sizeof info->header, info->header.biPlanes = 1;
    info->header.biWidth = (LONG)Number(w[first]),
    info->header.biHeight = (LONG)Number(w[first + 1]);
    info->header.biBitCount = (WORD)Number(w[first + 2]);
    for (size_t i = first + 3; i < w.size() && i - first - 3 < 256; i++)
        info->colors[i - first - 3] = Hex(w[i]);
}

class Table {
  public:
    ~Table()
    {
        Reset();
    }

    void Reset()
    {
        for (auto &entry : pics) {
            SelectObject(entry.second.dc, entry.second.displaced);
            DeleteDC(entry.second.dc);
            DeleteObject(entry.second.bitmap);
        }
        pics.clear();
        Unmap();
    }

    // Runs one statement; its result as the table writes it.
    std::string Run(const Words &w)
    {
        const std::string &verb = w[0];
        if (verb == "dib" || verb == "ddb" || verb == "dc")
            return Make(w);
        if (verb == "CreateBitmap" || verb == "GetStockObject" || verb == "CreateDIBSection" ||
            verb == "CreateCompatibleBitmap")
            return Create(w);
        if (verb == "desc" || verb == "data" || verb == "planes" || verb == "stale" ||
            verb.find("Blt") != std::string::npos)
            return Other(w);
        Pic &p = pics[w[1]];
        if (verb == "fill")
            memset(p.bits, (int)Hex(w[2]), Size(p));
        else if (verb == "set")
            for (size_t i = 2; i < w.size(); i++) {
                size_t at = (size_t)Number(w[i]);
                uint32_t value = Hex(w[i].substr(w[i].find('=') + 1));
                if (p.bpp == 32)
                    ((uint32_t *)p.bits)[at] = value;
                else
                    p.bits[at] = (uint8_t)value;
            }
        else if (verb == "colours")
            SetTextColor(p.dc, Hex(w[2])), SetBkColor(p.dc, Hex(w[3]));
        else if (verb == "bits") {
            std::vector<uint8_t> bytes;
            for (size_t i = 2; i < w.size(); i++)
                bytes.push_back((uint8_t)Hex(w[i]));
            return std::to_string(SetBitmapBits(p.bitmap, (DWORD)bytes.size(), bytes.data()));
        } else if (verb == "SetDIBits")
            return std::to_string(SetDIBits(DC(w[1]), pics[w[2]].bitmap, (UINT)Number(w[3]),
                                            (UINT)Number(w[4]), data, (const BITMAPINFO *)&desc,
                                            DIB_RGB_COLORS));
        else if (verb == "GetDIBColorTable" || verb == "SetDIBColorTable")
            return Colours(p, w);
        else if (verb == "pixels")
            return Pixels(p);
        else
            return "unknown statement " + verb;
        return "";
    }

  private:
    std::map<std::string, Pic> pics;
    Info desc;
    uint8_t *data = 0;
    void *mapping = 0;
    size_t mapped = 0;
    HDC scratch = CreateCompatibleDC(0);

    void Unmap()
    {
#ifdef _WIN32
        if (mapping)
            VirtualFree(mapping, 0, MEM_RELEASE);
#else
        if (mapping)
            munmap(mapping, mapped);
#endif
        mapping = 0;
    }

    static size_t Size(const Pic &p)
    {
        return (size_t)((p.width * p.bpp + 31) / 32 * 4) * abs(p.height);
    }

    HDC DC(const std::string &name)
    {
        return name == "-" ? 0 : pics[name].dc;
    }

    std::string Make(const Words &w)
    {
        Pic &p = pics[w[1]];
        p.dc = CreateCompatibleDC(0);
        if (w[0] == "dib") {
            Info info;
            Info_Set(&info, w, 2);
            p.width = info.header.biWidth, p.height = abs(info.header.biHeight);
            p.bpp = info.header.biBitCount;
            p.bitmap = CreateDIBSection(0, (const BITMAPINFO *)&info, DIB_RGB_COLORS,
                                        (void **)&p.bits, 0, 0);
        } else if (w[0] == "ddb") {
            p.width = (int)Number(w[2]), p.height = (int)Number(w[3]);
            p.bitmap = CreateBitmap(p.width, p.height, (UINT)Number(w[4]), (UINT)Number(w[5]), 0);
        }
        if (p.bitmap)
            p.displaced = SelectObject(p.dc, p.bitmap);
        if (w[0] == "dc")
            return "";
        return !p.bitmap ? "null" : p.displaced ? "made" : "made, not selected";
    }

    std::string Create(const Words &w)
    {
        HGDIOBJ made;
        if (w[0] == "CreateBitmap")
            made = CreateBitmap((int)Number(w[1]), (int)Number(w[2]), (UINT)Number(w[3]),
                                (UINT)Number(w[4]), 0);
        else if (w[0] == "GetStockObject")
            made = GetStockObject((int)Number(w[1]));
        else if (w[0] == "CreateCompatibleBitmap")
            made = CreateCompatibleBitmap(DC(w[1]), (int)Number(w[2]), (int)Number(w[3]));
        else {
            Info info;
            Info_Set(&info, w, 1);
            info.header.biPlanes = (WORD)Number(w[4]);
            info.header.biSize = w.size() > 5 ? (DWORD)Number(w[5]) : info.header.biSize;
            if (info.header.biSize < sizeof info.header) { // a core header of that size
                const BITMAPCOREHEADER core = {info.header.biSize, (WORD)info.header.biWidth,
                                               (WORD)info.header.biHeight, 1,
                                               info.header.biBitCount};
                memcpy(&info, &core, sizeof core);
            }
            void *bits = 0;
            made = CreateDIBSection(0, (const BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, 0, 0);
        }
        // The default bitmap is what a new memory device context holds.
        HDC fresh = CreateCompatibleDC(0);
        HGDIOBJ held = SelectObject(fresh, made);
        bool stock = made && held == made;
        DeleteDC(fresh);
        if (!stock && w[0] != "GetStockObject")
            DeleteObject(made);
        return !made ? "null" : stock ? "stock" : "made";
    }

    // A description of W x H at BPP (colours after them) over rows that end where the
    // memory does: reading past them faults. Filled with 0, 1, 2, ... as 32-bit values.
    void Describe(const Words &w)
    {
        Info_Set(&desc, w, 1);
        size_t size = (size_t)((desc.header.biWidth * desc.header.biBitCount + 31) / 32 * 4) *
                      abs(desc.header.biHeight);
        size_t page = 4096, pages = (size + page - 1) / page;
        Unmap();
        mapped = (pages + 1) * page;
#ifdef _WIN32
        mapping = VirtualAlloc(0, mapped, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD was;
        VirtualProtect((uint8_t *)mapping + pages * page, page, PAGE_NOACCESS, &was);
#else
        mapping = mmap(0, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        mprotect((uint8_t *)mapping + pages * page, page, PROT_NONE);
#endif
        data = (uint8_t *)mapping + pages * page - size;
        for (size_t i = 0; i < size / 4; i++)
            ((uint32_t *)data)[i] = (uint32_t)i;
    }

    std::string Colours(Pic &p, const Words &w)
    {
        RGBQUAD colors[256];
        memset(colors, 0xEE, sizeof colors);
        UINT start = (UINT)Number(w[2]), count = (UINT)Number(w[3]);
        for (size_t i = 4; i < w.size() && i - 4 < 256; i++) {
            uint32_t c = Hex(w[i]);
            memcpy(&colors[i - 4], &c, 4);
        }
        if (w[0] == "SetDIBColorTable")
            return std::to_string(SetDIBColorTable(p.dc, start, count, colors));
        UINT got = GetDIBColorTable(p.dc, start, count, colors);
        std::string out = std::to_string(got);
        char hex[16];
        for (UINT i = 0; i < got && i < 4; i++) {
            uint32_t c;
            memcpy(&c, &colors[i], 4);
            snprintf(hex, sizeof hex, " %06X", c);
            out += hex;
        }
        return out;
    }

    // The pixels: DIB memory as values (32-bit pixels, else bytes); anything else read
    // through a 32-bit DIB section.
    std::string Pixels(const Pic &p)
    {
        std::vector<uint32_t> values;
        if (p.bits && p.bpp == 32)
            values.assign((const uint32_t *)p.bits, (const uint32_t *)p.bits + Size(p) / 4);
        else if (p.bits)
            values.assign(p.bits, p.bits + Size(p));
        else {
            Info info;
            Info_Set(&info, {std::to_string(p.width), std::to_string(-p.height), "32"}, 0);
            uint32_t *bits = 0;
            HBITMAP copy = CreateDIBSection(0, (const BITMAPINFO *)&info, DIB_RGB_COLORS,
                                            (void **)&bits, 0, 0);
            HGDIOBJ old = SelectObject(scratch, copy);
            BitBlt(scratch, 0, 0, p.width, p.height, p.dc, 0, 0, SRCCOPY);
            values.assign(bits, bits + (size_t)p.width * p.height);
            SelectObject(scratch, old);
            DeleteObject(copy);
        }
        std::string out;
        char hex[16];
        for (uint32_t v : values) {
            snprintf(hex, sizeof hex, "%X ", v);
            out += hex;
        }
        return out;
    }

    std::string Other(const Words &w)
    {
        if (w[0] == "desc")
            Describe(w);
        else if (w[0] == "data")
            for (size_t i = 1; i < w.size(); i++)
                data[i - 1] = (uint8_t)Hex(w[i]);
        else if (w[0] == "planes")
            desc.header.biPlanes = (WORD)Number(w[1]);
        else if (w[0] == "stale")
            return Stale(Number(w[1]));
        else
            return Blit(w);
        return "";
    }

    // A deleted bitmap's handle, then `cycles` creations and deletions: it must stay dead.
    std::string Stale(long long cycles)
    {
        HBITMAP stale = CreateBitmap(1, 1, 1, 1, 0);
        DeleteObject(stale);
        for (long long i = 0; i < cycles; i++) {
            HBITMAP fresh = CreateBitmap(1, 1, 1, 1, 0);
            HGDIOBJ held = SelectObject(scratch, stale); // another object's, if it came back
            if (held)
                SelectObject(scratch, held);
            DeleteObject(fresh);
            if (held || DeleteObject(stale))
                return "alive after " + std::to_string(i + 1);
        }
        return "dead";
    }

    std::string Blit(const Words &w)
    {
        std::vector<long long> n;
        for (size_t i = 2; i < w.size(); i++)
            n.push_back(Number(w[i]));
        HDC d = DC(w[1]);
        BOOL ok = FALSE;
        if (w[0] == "BitBlt")
            ok = BitBlt(d, n[0], n[1], n[2], n[3], DC(w[6]), n[5], n[6], Hex(w[9]) << 16);
        else if (w[0] == "StretchBlt")
            ok = StretchBlt(d, n[0], n[1], n[2], n[3], DC(w[6]), n[5], n[6], n[7], n[8],
                            Hex(w[11]) << 16);
        else if (w[0] == "MaskBlt") {
            HBITMAP mask = w[9] == "bogus" ? (HBITMAP)(uintptr_t)0x123456
                           : w[9] == "-"   ? 0
                                           : pics[w[9]].bitmap;
            ok = MaskBlt(d, n[0], n[1], n[2], n[3], DC(w[6]), n[5], n[6], mask, n[8], n[9],
                         Hex(w[12]) << 16);
        } else
            return "unknown statement " + w[0];
        return std::to_string(ok);
    }
};

// Whether the pixels match an expectation of `i=v`, `a-b=v`, `a-b=+v` (v, v+1, ...) and
// `rest=v` words, in hex.
std::string ExpandPixels(const std::string &got, const std::string &expect)
{
    std::istringstream in(got), wanted(expect);
    std::vector<std::string> values;
    for (std::string v; in >> v;)
        values.push_back(v);
    std::vector<std::string> want(values.size(), "");
    std::string rest, word;
    char hex[16];
    while (wanted >> word) {
        size_t eq = word.find('=');
        std::string where = word.substr(0, eq), value = word.substr(eq + 1);
        if (where == "rest") {
            rest = value;
            continue;
        }
        size_t dash = where.find('-');
        long a = strtol(where.c_str(), 0, 10);
        long b = dash == std::string::npos ? a : strtol(where.c_str() + dash + 1, 0, 10);
        bool ascending = value[0] == '+';
        uint32_t v = Hex(ascending ? value.substr(1) : value);
        for (long i = a; i <= b && i < (long)want.size(); i++) {
            snprintf(hex, sizeof hex, "%X", ascending ? v + (uint32_t)(i - a) : v);
            want[i] = hex;
        }
    }
    for (size_t i = 0; i < want.size(); i++) {
        uint32_t w = Hex(want[i].empty() ? rest : want[i]);
        if ((want[i].empty() && rest.empty()) || w == Hex(values[i]))
            continue;
        snprintf(hex, sizeof hex, "%X", w);
        return "pixel " + std::to_string(i) + " is " + values[i] + ", not " + hex;
    }
    return "";
}

} // namespace

int GdiTable_Run(const char *path, GdiTableReport report)
{
    std::ifstream file(path);
    if (!file.good())
        return -1;
    Table table;
    std::string line, source;
    int number = 0, checks = 0;
    while (std::getline(file, line)) {
        number++;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> columns;
        std::istringstream fields(line);
        for (std::string c; std::getline(fields, c, '\t');)
            columns.push_back(c);
        if (!columns[0].empty())
            table.Reset(), source = columns[0];
        Words words;
        std::istringstream in(columns.size() > 1 ? columns[1] : "");
        for (std::string w; in >> w;)
            words.push_back(w);
        if (words.empty())
            continue;
        std::string got = table.Run(words);
        if (columns.size() < 3 || columns[2].empty())
            continue;
        checks++;
        std::string differs = words[0] == "pixels" ? ExpandPixels(got, columns[2])
                              : got == columns[2]  ? ""
                                                   : got + ", not " + columns[2];
        if (!differs.empty())
            report(number, source.c_str(), columns[1].c_str(), differs.c_str());
    }
    return checks;
}
