#include "zip/Deflater.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace cb::zip {

namespace {

constexpr unsigned WSIZE = 32768;
constexpr unsigned WMASK = WSIZE - 1;
constexpr unsigned WINDOW_SIZE = 2 * WSIZE;
constexpr unsigned HASH_SIZE = 1u << 15;
constexpr unsigned HASH_MASK = HASH_SIZE - 1;
constexpr unsigned H_SHIFT = 5;
constexpr unsigned MIN_MATCH = 3;
constexpr unsigned MAX_MATCH = 258;
constexpr unsigned MIN_LOOKAHEAD = MAX_MATCH + MIN_MATCH + 1;
constexpr unsigned MAX_DIST = WSIZE - MIN_LOOKAHEAD;
constexpr unsigned TOO_FAR = 4096;
constexpr unsigned LIT_BUFSIZE = 0x8000;
constexpr unsigned DIST_BUFSIZE = 0x8000;
constexpr unsigned OUTBUF_SIZE = 1024;

constexpr int MAX_BITS = 15;
constexpr int MAX_BL_BITS = 7;
constexpr int LENGTH_CODES = 29;
constexpr int LITERALS = 256;
constexpr int END_BLOCK = 256;
constexpr int L_CODES = LITERALS + 1 + LENGTH_CODES;
constexpr int D_CODES = 30;
constexpr int BL_CODES = 19;
constexpr int HEAP_SIZE = 2 * L_CODES + 1;
constexpr int REP_3_6 = 16;
constexpr int REPZ_3_10 = 17;
constexpr int REPZ_11_138 = 18;

constexpr int extra_lbits[LENGTH_CODES] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int extra_dbits[D_CODES] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                      6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int extra_blbits[BL_CODES] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
constexpr std::uint8_t bl_order[BL_CODES] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct TLevelConfig {
    unsigned Good, Lazy, Nice, Chain;
};
constexpr TLevelConfig kLevels[10] = {{0, 0, 0, 0},         {4, 4, 8, 4},        {4, 5, 16, 8},     {4, 6, 32, 32},
                                      {4, 4, 16, 16},       {8, 16, 32, 32},     {8, 16, 128, 128}, {8, 32, 128, 256},
                                      {32, 128, 258, 1024}, {32, 258, 258, 4096}};

struct TCtData {
    std::uint32_t Freq = 0;
    std::uint16_t Code = 0;
    std::uint16_t Dad = 0;
    std::uint16_t Len = 0;
};

unsigned BiReverse(unsigned Code, int Len) {
    unsigned res = 0;
    do {
        res |= Code & 1;
        Code >>= 1;
        res <<= 1;
    } while (--Len > 0);
    return res >> 1;
}

// Canonical codes from the bit lengths of the leaves 0..MaxCode.
void GenCodes(TCtData* Tree, int MaxCode, const std::uint16_t* BlCount) {
    std::uint16_t next_code[MAX_BITS + 1];
    unsigned code = 0;
    for (int bits = 1; bits <= MAX_BITS; bits++) {
        code = (code + BlCount[bits - 1]) << 1;
        next_code[bits] = static_cast<std::uint16_t>(code);
    }
    for (int n = 0; n <= MaxCode; n++) {
        const int len = Tree[n].Len;
        if (len == 0) continue;
        Tree[n].Code = static_cast<std::uint16_t>(BiReverse(next_code[len]++, len));
    }
}

// Length and distance codes and the fixed trees, built once.
struct TStaticTables {
    std::uint8_t length_code[MAX_MATCH - MIN_MATCH + 1];
    std::uint8_t dist_code[512];
    int base_length[LENGTH_CODES];
    int base_dist[D_CODES];
    TCtData static_ltree[L_CODES + 2];
    TCtData static_dtree[D_CODES];

    TStaticTables() {
        int length = 0;
        int code;
        for (code = 0; code < LENGTH_CODES - 1; code++) {
            base_length[code] = length;
            for (int n = 0; n < (1 << extra_lbits[code]); n++) length_code[length++] = static_cast<std::uint8_t>(code);
        }
        base_length[LENGTH_CODES - 1] = 0;
        // Length 258 has a code of its own.
        length_code[length - 1] = static_cast<std::uint8_t>(code);
        int dist = 0;
        for (code = 0; code < 16; code++) {
            base_dist[code] = dist;
            for (int n = 0; n < (1 << extra_dbits[code]); n++) dist_code[dist++] = static_cast<std::uint8_t>(code);
        }
        dist >>= 7;
        for (; code < D_CODES; code++) {
            base_dist[code] = dist << 7;
            for (int n = 0; n < (1 << (extra_dbits[code] - 7)); n++)
                dist_code[256 + dist++] = static_cast<std::uint8_t>(code);
        }
        std::uint16_t bl_count[MAX_BITS + 1] = {};
        int n = 0;
        while (n <= 143) static_ltree[n++].Len = 8, bl_count[8]++;
        while (n <= 255) static_ltree[n++].Len = 9, bl_count[9]++;
        while (n <= 279) static_ltree[n++].Len = 7, bl_count[7]++;
        while (n <= 287) static_ltree[n++].Len = 8, bl_count[8]++;
        GenCodes(static_ltree, L_CODES + 1, bl_count);
        for (n = 0; n < D_CODES; n++) {
            static_dtree[n].Len = 5;
            static_dtree[n].Code = static_cast<std::uint16_t>(BiReverse(n, 5));
        }
    }
};

const TStaticTables& Static() {
    static const TStaticTables tables;
    return tables;
}

struct TTreeDesc {
    TCtData* DynTree;
    const TCtData* StaticTree;
    const int* ExtraBits;
    int ExtraBase;
    int Elems;
    int MaxLength;
    int MaxCode;
};

}  // namespace

struct TDeflater::TState {
    const TStaticTables& S = Static();

    // Buffers of one build.
    std::vector<std::uint8_t> window = std::vector<std::uint8_t>(WINDOW_SIZE + 16);
    std::vector<std::uint16_t> prev = std::vector<std::uint16_t>(WSIZE);
    std::vector<std::uint16_t> head = std::vector<std::uint16_t>(HASH_SIZE);
    std::vector<std::uint8_t> l_buf = std::vector<std::uint8_t>(LIT_BUFSIZE);
    std::vector<std::uint16_t> d_buf = std::vector<std::uint16_t>(DIST_BUFSIZE);
    std::vector<std::uint8_t> flag_buf = std::vector<std::uint8_t>(LIT_BUFSIZE / 8);
    std::uint8_t outbuf[OUTBUF_SIZE + 8];

    // Trees.
    TCtData dyn_ltree[HEAP_SIZE];
    TCtData dyn_dtree[2 * D_CODES + 1];
    TCtData bl_tree[2 * BL_CODES + 1];
    TTreeDesc l_desc{dyn_ltree, S.static_ltree, extra_lbits, LITERALS + 1, L_CODES, MAX_BITS, 0};
    TTreeDesc d_desc{dyn_dtree, S.static_dtree, extra_dbits, 0, D_CODES, MAX_BITS, 0};
    TTreeDesc bl_desc{bl_tree, nullptr, extra_blbits, 0, BL_CODES, MAX_BL_BITS, 0};
    std::uint16_t bl_count[MAX_BITS + 1];
    int heap[HEAP_SIZE];
    int heap_len = 0;
    int heap_max = 0;
    std::uint8_t depth[HEAP_SIZE];

    // Per file.
    const TReadFunc* read = nullptr;
    const TWriteFunc* write = nullptr;
    int level = 6;
    bool allow_store = true;
    unsigned good_match = 0, max_lazy_match = 0, nice_match = 0, max_chain_length = 0;
    unsigned strstart = 0;
    unsigned lookahead = 0;
    long block_start = 0;
    unsigned match_start = 0;
    unsigned prev_length = 0;
    unsigned ins_h = 0;
    bool eofile = false;
    unsigned last_lit = 0, last_dist = 0, last_flags = 0;
    std::uint8_t flags = 0, flag_bit = 1;
    std::uint64_t opt_len = 0, static_len = 0;
    std::uint64_t input_len = 0;
    bool any_block = false;
    bool whole_stored = false;
    int file_type = -1;  // -1 unknown, 0 binary, 1 text
    std::uint64_t bi_buf = 0;
    int bi_valid = 0;
    unsigned outcnt = 0;
    std::uint64_t bytes_out = 0;

    // --- output -----------------------------------------------------------

    void FlushOutbuf() {
        if (outcnt) {
            (*write)(outbuf, outcnt);
            bytes_out += outcnt;
            outcnt = 0;
        }
    }
    void PutByte(std::uint8_t c) {
        outbuf[outcnt++] = c;
        if (outcnt == OUTBUF_SIZE) FlushOutbuf();
    }
    void SendBits(unsigned Value, int Length) {
        bi_buf |= static_cast<std::uint64_t>(Value) << bi_valid;
        bi_valid += Length;
        if (bi_valid >= 32) {
            if (outcnt > OUTBUF_SIZE - 4) FlushOutbuf();
            const std::uint32_t w = static_cast<std::uint32_t>(bi_buf);
            outbuf[outcnt] = static_cast<std::uint8_t>(w);
            outbuf[outcnt + 1] = static_cast<std::uint8_t>(w >> 8);
            outbuf[outcnt + 2] = static_cast<std::uint8_t>(w >> 16);
            outbuf[outcnt + 3] = static_cast<std::uint8_t>(w >> 24);
            outcnt += 4;
            bi_buf >>= 32;
            bi_valid -= 32;
        }
    }
    void SendCode(int c, const TCtData* tree) { SendBits(tree[c].Code, tree[c].Len); }
    void BiWindup() {
        while (bi_valid > 0) {
            PutByte(static_cast<std::uint8_t>(bi_buf));
            bi_buf >>= 8;
            bi_valid -= 8;
        }
        bi_buf = 0;
        bi_valid = 0;
    }
    void CopyBlock(const std::uint8_t* buf, unsigned len, bool header) {
        BiWindup();
        if (header) {
            PutByte(static_cast<std::uint8_t>(len));
            PutByte(static_cast<std::uint8_t>(len >> 8));
            PutByte(static_cast<std::uint8_t>(~len));
            PutByte(static_cast<std::uint8_t>(~len >> 8));
        }
        FlushOutbuf();
        if (len) {
            (*write)(buf, len);
            bytes_out += len;
        }
    }

    // --- trees ------------------------------------------------------------

    void InitBlock() {
        for (int n = 0; n < L_CODES; n++) dyn_ltree[n].Freq = 0;
        for (int n = 0; n < D_CODES; n++) dyn_dtree[n].Freq = 0;
        for (int n = 0; n < BL_CODES; n++) bl_tree[n].Freq = 0;
        dyn_ltree[END_BLOCK].Freq = 1;
        opt_len = static_len = 0;
        last_lit = last_dist = last_flags = 0;
        flags = 0;
        flag_bit = 1;
    }

    int DCode(unsigned dist) const { return dist < 256 ? S.dist_code[dist] : S.dist_code[256 + (dist >> 7)]; }

    bool Smaller(const TCtData* tree, int n, int m) const {
        return tree[n].Freq < tree[m].Freq || (tree[n].Freq == tree[m].Freq && depth[n] <= depth[m]);
    }

    void PqDownHeap(const TCtData* tree, int k) {
        const int v = heap[k];
        int j = k << 1;
        while (j <= heap_len) {
            if (j < heap_len && Smaller(tree, heap[j + 1], heap[j])) j++;
            if (Smaller(tree, v, heap[j])) break;
            heap[k] = heap[j];
            k = j;
            j <<= 1;
        }
        heap[k] = v;
    }

    void GenBitLen(TTreeDesc& desc) {
        TCtData* tree = desc.DynTree;
        const int* extra = desc.ExtraBits;
        const int base = desc.ExtraBase;
        const int max_code = desc.MaxCode;
        const int max_length = desc.MaxLength;
        const TCtData* stree = desc.StaticTree;
        int overflow = 0;
        for (int bits = 0; bits <= MAX_BITS; bits++) bl_count[bits] = 0;
        tree[heap[heap_max]].Len = 0;
        int h;
        for (h = heap_max + 1; h < HEAP_SIZE; h++) {
            const int n = heap[h];
            int bits = tree[tree[n].Dad].Len + 1;
            if (bits > max_length) bits = max_length, overflow++;
            tree[n].Len = static_cast<std::uint16_t>(bits);
            if (n > max_code) continue;
            bl_count[bits]++;
            int xbits = 0;
            if (n >= base) xbits = extra[n - base];
            const std::uint64_t f = tree[n].Freq;
            opt_len += f * static_cast<unsigned>(bits + xbits);
            if (stree) static_len += f * static_cast<unsigned>(stree[n].Len + xbits);
        }
        if (overflow == 0) return;
        do {
            int bits = max_length - 1;
            while (bl_count[bits] == 0) bits--;
            bl_count[bits]--;
            bl_count[bits + 1] += 2;
            bl_count[max_length]--;
            overflow -= 2;
        } while (overflow > 0);
        for (int bits = max_length; bits != 0; bits--) {
            int n = bl_count[bits];
            while (n != 0) {
                const int m = heap[--h];
                if (m > max_code) continue;
                if (tree[m].Len != static_cast<unsigned>(bits)) {
                    opt_len += static_cast<std::int64_t>(bits - tree[m].Len) * static_cast<std::int64_t>(tree[m].Freq);
                    tree[m].Len = static_cast<std::uint16_t>(bits);
                }
                n--;
            }
        }
    }

    void BuildTree(TTreeDesc& desc) {
        TCtData* tree = desc.DynTree;
        const TCtData* stree = desc.StaticTree;
        const int elems = desc.Elems;
        int max_code = -1;
        heap_len = 0;
        heap_max = HEAP_SIZE;
        for (int n = 0; n < elems; n++) {
            if (tree[n].Freq != 0) {
                heap[++heap_len] = max_code = n;
                depth[n] = 0;
            } else {
                tree[n].Len = 0;
            }
        }
        // At least two codes of non-zero frequency.
        while (heap_len < 2) {
            const int node = heap[++heap_len] = (max_code < 2 ? ++max_code : 0);
            tree[node].Freq = 1;
            depth[node] = 0;
            opt_len--;
            if (stree) static_len -= stree[node].Len;
        }
        desc.MaxCode = max_code;
        for (int n = heap_len / 2; n >= 1; n--) PqDownHeap(tree, n);
        int node = elems;
        do {
            const int n = heap[1];
            heap[1] = heap[heap_len--];
            PqDownHeap(tree, 1);
            const int m = heap[1];
            heap[--heap_max] = n;
            heap[--heap_max] = m;
            tree[node].Freq = tree[n].Freq + tree[m].Freq;
            depth[node] = static_cast<std::uint8_t>(std::max(depth[n], depth[m]) + 1);
            tree[n].Dad = tree[m].Dad = static_cast<std::uint16_t>(node);
            heap[1] = node++;
            PqDownHeap(tree, 1);
        } while (heap_len >= 2);
        heap[--heap_max] = heap[1];
        GenBitLen(desc);
        GenCodes(tree, max_code, bl_count);
    }

    void ScanTree(TCtData* tree, int max_code) {
        int prevlen = -1;
        int nextlen = tree[0].Len;
        int count = 0;
        int max_count = 7;
        int min_count = 4;
        if (nextlen == 0) max_count = 138, min_count = 3;
        tree[max_code + 1].Len = 0xFFFF;
        for (int n = 0; n <= max_code; n++) {
            const int curlen = nextlen;
            nextlen = tree[n + 1].Len;
            if (++count < max_count && curlen == nextlen) {
                continue;
            } else if (count < min_count) {
                bl_tree[curlen].Freq += count;
            } else if (curlen != 0) {
                if (curlen != prevlen) bl_tree[curlen].Freq++;
                bl_tree[REP_3_6].Freq++;
            } else if (count <= 10) {
                bl_tree[REPZ_3_10].Freq++;
            } else {
                bl_tree[REPZ_11_138].Freq++;
            }
            count = 0;
            prevlen = curlen;
            if (nextlen == 0) {
                max_count = 138, min_count = 3;
            } else if (curlen == nextlen) {
                max_count = 6, min_count = 3;
            } else {
                max_count = 7, min_count = 4;
            }
        }
    }

    void SendTree(const TCtData* tree, int max_code) {
        int prevlen = -1;
        int nextlen = tree[0].Len;
        int count = 0;
        int max_count = 7;
        int min_count = 4;
        if (nextlen == 0) max_count = 138, min_count = 3;
        for (int n = 0; n <= max_code; n++) {
            const int curlen = nextlen;
            nextlen = tree[n + 1].Len;
            if (++count < max_count && curlen == nextlen) {
                continue;
            } else if (count < min_count) {
                do SendCode(curlen, bl_tree);
                while (--count != 0);
            } else if (curlen != 0) {
                if (curlen != prevlen) {
                    SendCode(curlen, bl_tree);
                    count--;
                }
                SendCode(REP_3_6, bl_tree);
                SendBits(count - 3, 2);
            } else if (count <= 10) {
                SendCode(REPZ_3_10, bl_tree);
                SendBits(count - 3, 3);
            } else {
                SendCode(REPZ_11_138, bl_tree);
                SendBits(count - 11, 7);
            }
            count = 0;
            prevlen = curlen;
            if (nextlen == 0) {
                max_count = 138, min_count = 3;
            } else if (curlen == nextlen) {
                max_count = 6, min_count = 3;
            } else {
                max_count = 7, min_count = 4;
            }
        }
    }

    int BuildBlTree() {
        ScanTree(dyn_ltree, l_desc.MaxCode);
        ScanTree(dyn_dtree, d_desc.MaxCode);
        BuildTree(bl_desc);
        int max_blindex;
        for (max_blindex = BL_CODES - 1; max_blindex >= 3; max_blindex--)
            if (bl_tree[bl_order[max_blindex]].Len != 0) break;
        opt_len += 3 * (max_blindex + 1) + 5 + 5 + 4;
        return max_blindex;
    }

    void SendAllTrees(int lcodes, int dcodes, int blcodes) {
        SendBits(lcodes - 257, 5);
        SendBits(dcodes - 1, 5);
        SendBits(blcodes - 4, 4);
        for (int rank = 0; rank < blcodes; rank++) SendBits(bl_tree[bl_order[rank]].Len, 3);
        SendTree(dyn_ltree, lcodes - 1);
        SendTree(dyn_dtree, dcodes - 1);
    }

    void CompressBlock(const TCtData* ltree, const TCtData* dtree) {
        unsigned lx = 0, dx = 0, fx = 0;
        std::uint8_t flag = 0;
        if (last_lit != 0) do {
                if ((lx & 7) == 0) flag = flag_buf[fx++];
                int lc = l_buf[lx++];
                if ((flag & 1) == 0) {
                    SendCode(lc, ltree);
                } else {
                    int code = S.length_code[lc];
                    SendCode(code + LITERALS + 1, ltree);
                    int extra = extra_lbits[code];
                    if (extra != 0) SendBits(lc - S.base_length[code], extra);
                    unsigned dist = d_buf[dx++];
                    code = DCode(dist);
                    SendCode(code, dtree);
                    extra = extra_dbits[code];
                    if (extra != 0) SendBits(dist - S.base_dist[code], extra);
                }
                flag >>= 1;
            } while (lx < last_lit);
        SendCode(END_BLOCK, ltree);
    }

    void SetFileType() {
        int n = 0;
        unsigned ascii_freq = 0, bin_freq = 0;
        while (n < 7) bin_freq += dyn_ltree[n++].Freq;
        while (n < 128) ascii_freq += dyn_ltree[n++].Freq;
        while (n < LITERALS) bin_freq += dyn_ltree[n++].Freq;
        file_type = bin_freq > (ascii_freq >> 2) ? 0 : 1;
    }

    void FlushBlock(bool eof) {
        const std::uint8_t* buf = block_start >= 0 ? window.data() + block_start : nullptr;
        const std::uint64_t stored_len = static_cast<std::uint64_t>(static_cast<long>(strstart) - block_start);
        flag_buf[last_flags] = flags;
        if (file_type < 0) SetFileType();
        BuildTree(l_desc);
        BuildTree(d_desc);
        const int max_blindex = BuildBlTree();
        std::uint64_t opt_lenb = (opt_len + 3 + 7) >> 3;
        const std::uint64_t static_lenb = (static_len + 3 + 7) >> 3;
        input_len += stored_len;
        if (static_lenb <= opt_lenb) opt_lenb = static_lenb;
        if (allow_store && stored_len <= opt_lenb && eof && !any_block && buf) {
            CopyBlock(buf, static_cast<unsigned>(stored_len), false);
            whole_stored = true;
        } else if (stored_len + 4 <= opt_lenb && buf && stored_len <= 0xFFFF) {
            SendBits((0 << 1) + (eof ? 1 : 0), 3);
            CopyBlock(buf, static_cast<unsigned>(stored_len), true);
        } else if (static_lenb == opt_lenb) {
            SendBits((1 << 1) + (eof ? 1 : 0), 3);
            CompressBlock(S.static_ltree, S.static_dtree);
        } else {
            SendBits((2 << 1) + (eof ? 1 : 0), 3);
            SendAllTrees(l_desc.MaxCode + 1, d_desc.MaxCode + 1, max_blindex + 1);
            CompressBlock(dyn_ltree, dyn_dtree);
        }
        any_block = true;
        InitBlock();
        if (eof) BiWindup();
    }

    void FlushBlockAt(bool eof) {
        FlushBlock(eof);
        block_start = strstart;
    }

    // Records a literal (dist 0) or a match; true when the block should end.
    bool CtTally(unsigned dist, unsigned lc) {
        l_buf[last_lit++] = static_cast<std::uint8_t>(lc);
        if (dist == 0) {
            dyn_ltree[lc].Freq++;
        } else {
            dist--;
            dyn_ltree[S.length_code[lc] + LITERALS + 1].Freq++;
            dyn_dtree[DCode(dist)].Freq++;
            d_buf[last_dist++] = static_cast<std::uint16_t>(dist);
            flags |= flag_bit;
        }
        flag_bit <<= 1;
        if ((last_lit & 7) == 0) {
            flag_buf[last_flags++] = flags;
            flags = 0;
            flag_bit = 1;
        }
        if (level > 2 && (last_lit & 0xFFF) == 0) {
            std::uint64_t out_length = static_cast<std::uint64_t>(last_lit) * 8;
            const std::uint64_t in_length = static_cast<std::uint64_t>(static_cast<long>(strstart) - block_start);
            for (int dcode = 0; dcode < D_CODES; dcode++)
                out_length += static_cast<std::uint64_t>(dyn_dtree[dcode].Freq) * (5 + extra_dbits[dcode]);
            out_length >>= 3;
            if (last_dist < last_lit / 2 && out_length < in_length / 2) return true;
        }
        return last_lit == LIT_BUFSIZE - 1 || last_dist == DIST_BUFSIZE;
    }

    // --- matching ---------------------------------------------------------

    void UpdateHash(std::uint8_t c) { ins_h = ((ins_h << H_SHIFT) ^ c) & HASH_MASK; }
    unsigned InsertString(unsigned s) {
        UpdateHash(window[s + MIN_MATCH - 1]);
        const unsigned hash_head = head[ins_h];
        prev[s & WMASK] = static_cast<std::uint16_t>(hash_head);
        head[ins_h] = static_cast<std::uint16_t>(s);
        return hash_head;
    }

    void FillWindow() {
        unsigned more = WINDOW_SIZE - lookahead - strstart;
        if (more == 0xFFFF) {
            more--;
        } else if (strstart >= WSIZE + MAX_DIST) {
            std::memcpy(window.data(), window.data() + WSIZE, WSIZE);
            match_start -= WSIZE;
            strstart -= WSIZE;
            block_start -= static_cast<long>(WSIZE);
            for (auto& h : head) h = static_cast<std::uint16_t>(h >= WSIZE ? h - WSIZE : 0);
            for (auto& p : prev) p = static_cast<std::uint16_t>(p >= WSIZE ? p - WSIZE : 0);
            more += WSIZE;
        }
        if (!eofile) {
            const std::size_t n = ReadInput(window.data() + strstart + lookahead, more);
            if (n == 0) {
                eofile = true;
                std::memset(window.data() + strstart + lookahead, 0, MIN_MATCH - 1);
            } else {
                lookahead += static_cast<unsigned>(n);
            }
        }
    }

    std::size_t ReadInput(std::uint8_t* buf, std::size_t count) {
        std::size_t got = 0;
        while (got < count) {
            const std::size_t n = (*read)(buf + got, count - got);
            if (n == 0) break;
            got += n;
        }
        return got;
    }

    static std::uint16_t Load16(const std::uint8_t* p) {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }

    static unsigned MatchLength(const std::uint8_t* a, const std::uint8_t* b) {
        unsigned len = 2;
        while (len < MAX_MATCH) {
            std::uint64_t x, y;
            std::memcpy(&x, a + len, 8);
            std::memcpy(&y, b + len, 8);
            const std::uint64_t d = x ^ y;
            if (d) {
                len += static_cast<unsigned>(__builtin_ctzll(d)) >> 3;
                break;
            }
            len += 8;
        }
        return len > MAX_MATCH ? MAX_MATCH : len;
    }

    unsigned LongestMatch(unsigned cur_match) {
        unsigned chain_length = max_chain_length;
        const std::uint8_t* scan = window.data() + strstart;
        unsigned best_len = prev_length;
        const unsigned limit = strstart > MAX_DIST ? strstart - MAX_DIST : 0;
        const std::uint8_t* base = window.data();
        // The last byte pair of the best match and the first pair, two bytes at a time.
        std::uint16_t scan_end = Load16(scan + best_len - 1);
        const std::uint16_t scan_start = Load16(scan);
        if (prev_length >= good_match) chain_length >>= 2;
        do {
            const std::uint8_t* match = base + cur_match;
            if (Load16(match + best_len - 1) != scan_end || Load16(match) != scan_start) continue;
            const unsigned len = MatchLength(scan, match);
            if (len > best_len) {
                match_start = cur_match;
                best_len = len;
                if (len >= nice_match) break;
                scan_end = Load16(scan + best_len - 1);
            }
        } while ((cur_match = prev[cur_match & WMASK]) > limit && --chain_length != 0);
        return best_len;
    }

    void DeflateFast() {
        unsigned hash_head = 0;
        unsigned match_length = 0;
        prev_length = MIN_MATCH - 1;
        while (lookahead != 0) {
            hash_head = InsertString(strstart);
            if (hash_head != 0 && strstart - hash_head <= MAX_DIST && strstart <= WINDOW_SIZE - MIN_LOOKAHEAD) {
                match_length = LongestMatch(hash_head);
                if (match_length > lookahead) match_length = lookahead;
            }
            bool flush;
            if (match_length >= MIN_MATCH) {
                flush = CtTally(strstart - match_start, match_length - MIN_MATCH);
                lookahead -= match_length;
                if (match_length <= max_lazy_match) {
                    match_length--;
                    do {
                        strstart++;
                        InsertString(strstart);
                    } while (--match_length != 0);
                    strstart++;
                } else {
                    strstart += match_length;
                    match_length = 0;
                    ins_h = window[strstart];
                    UpdateHash(window[strstart + 1]);
                }
            } else {
                flush = CtTally(0, window[strstart]);
                lookahead--;
                strstart++;
            }
            if (flush) FlushBlockAt(false);
            while (lookahead < MIN_LOOKAHEAD && !eofile) FillWindow();
        }
        FlushBlock(true);
    }

    void DeflateLazy() {
        unsigned hash_head = 0;
        unsigned prev_match = 0;
        bool match_available = false;
        unsigned match_length = MIN_MATCH - 1;
        while (lookahead != 0) {
            hash_head = InsertString(strstart);
            prev_length = match_length;
            prev_match = match_start;
            match_length = MIN_MATCH - 1;
            if (hash_head != 0 && prev_length < max_lazy_match && strstart - hash_head <= MAX_DIST &&
                strstart <= WINDOW_SIZE - MIN_LOOKAHEAD) {
                match_length = LongestMatch(hash_head);
                if (match_length > lookahead) match_length = lookahead;
                if (match_length == MIN_MATCH && strstart - match_start > TOO_FAR) match_length--;
            }
            if (prev_length >= MIN_MATCH && match_length <= prev_length) {
                const bool flush = CtTally(strstart - 1 - prev_match, prev_length - MIN_MATCH);
                lookahead -= prev_length - 1;
                prev_length -= 2;
                do {
                    strstart++;
                    InsertString(strstart);
                } while (--prev_length != 0);
                match_available = false;
                match_length = MIN_MATCH - 1;
                strstart++;
                if (flush) FlushBlockAt(false);
            } else if (match_available) {
                if (CtTally(0, window[strstart - 1])) FlushBlockAt(false);
                strstart++;
                lookahead--;
            } else {
                match_available = true;
                strstart++;
                lookahead--;
            }
            while (lookahead < MIN_LOOKAHEAD && !eofile) FillWindow();
        }
        if (match_available) CtTally(0, window[strstart - 1]);
        FlushBlock(true);
    }

    std::uint64_t Run(int Level, const TReadFunc& Read, const TWriteFunc& Write, bool AllowStore) {
        level = std::clamp(Level, 1, 9);
        read = &Read;
        write = &Write;
        allow_store = AllowStore;
        const TLevelConfig& cfg = kLevels[level];
        good_match = cfg.Good;
        max_lazy_match = cfg.Lazy;
        nice_match = cfg.Nice;
        max_chain_length = cfg.Chain;
        input_len = 0;
        any_block = false;
        whole_stored = false;
        file_type = -1;
        bi_buf = 0;
        bi_valid = 0;
        outcnt = 0;
        bytes_out = 0;
        InitBlock();
        std::fill(head.begin(), head.end(), 0);
        std::fill(prev.begin(), prev.end(), 0);
        strstart = 0;
        block_start = 0;
        match_start = 0;
        ins_h = 0;
        eofile = false;
        lookahead = static_cast<unsigned>(ReadInput(window.data(), WSIZE));
        if (lookahead == 0) {
            eofile = true;
        } else {
            while (lookahead < MIN_LOOKAHEAD && !eofile) FillWindow();
        }
        for (unsigned j = 0; j < MIN_MATCH - 1; j++) UpdateHash(window[j]);
        if (level <= 3)
            DeflateFast();
        else
            DeflateLazy();
        FlushOutbuf();
        read = nullptr;
        write = nullptr;
        return bytes_out;
    }
};

TDeflater::TDeflater() : FState(std::make_unique<TState>()) {}
TDeflater::~TDeflater() = default;

std::uint64_t TDeflater::Compress(int Level, const TReadFunc& Read, const TWriteFunc& Write, bool AllowWholeFileStore) {
    return FState->Run(Level, Read, Write, AllowWholeFileStore);
}

bool TDeflater::WholeFileStored() const {
    return FState->whole_stored;
}
bool TDeflater::IsText() const {
    return FState->file_type == 1;
}

}  // namespace cb::zip
