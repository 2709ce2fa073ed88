#include "lzari/lzari_reference.h"

#include <memory>

// The names, the order of the statements and the integer widths follow the 1989 listing, so
// that the two can be compared line by line; only the stdio files became byte vectors and the
// globals became members. Keep it that way: its worth is that it is the published coder.
namespace lzari {
namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int NIL = N;

constexpr int M = 15;
constexpr uint32_t Q1 = 1u << M;
constexpr uint32_t Q2 = 2 * Q1;
constexpr uint32_t Q3 = 3 * Q1;
constexpr uint32_t Q4 = 4 * Q1;
constexpr uint32_t MAX_CUM = Q1 - 1;
constexpr int N_CHAR = 256 - THRESHOLD + F;

class Coder {
  public:
    // ---- Bit I/O ----
    void PutBit(int bit) {
        if (bit) {
            putBuffer |= putMask;
        }
        if ((putMask >>= 1) == 0) {
            out.push_back(static_cast<uint8_t>(putBuffer));
            putBuffer = 0;
            putMask = 128;
        }
    }

    void FlushBitBuffer() {
        for (int i = 0; i < 7; i++) {
            PutBit(0);
        }
    }

    // At the end of the input getc() gives EOF, whose bits are all 1.
    int GetBit() {
        if ((getMask >>= 1) == 0) {
            getBuffer = inPos < in->size() ? (*in)[inPos++] : 0xFFFFu;
            getMask = 128;
        }
        return (getBuffer & getMask) != 0;
    }

    int GetByte() { return inPos < in->size() ? (*in)[inPos++] : -1; }

    // ---- LZSS with multiple binary trees ----
    void InitTree() {
        for (int i = N + 1; i <= N + 256; i++) {
            rson[i] = NIL;
        }
        for (int i = 0; i < N; i++) {
            dad[i] = NIL;
        }
    }

    void InsertNode(int r) {
        int i, p, cmp, temp;
        unsigned char* key;

        cmp = 1;
        key = &text_buf[r];
        p = N + 1 + key[0];
        rson[r] = lson[r] = NIL;
        match_length = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[p] != NIL) {
                    p = rson[p];
                } else {
                    rson[p] = r;
                    dad[r] = p;
                    return;
                }
            } else {
                if (lson[p] != NIL) {
                    p = lson[p];
                } else {
                    lson[p] = r;
                    dad[r] = p;
                    return;
                }
            }
            for (i = 1; i < F; i++) {
                if ((cmp = key[i] - text_buf[p + i]) != 0) {
                    break;
                }
            }
            if (i > THRESHOLD) {
                if (i > match_length) {
                    match_position = (r - p) & (N - 1);
                    if ((match_length = i) >= F) {
                        break;
                    }
                } else if (i == match_length) {
                    if ((temp = (r - p) & (N - 1)) < match_position) {
                        match_position = temp;
                    }
                }
            }
        }
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p) {
            rson[dad[p]] = r;
        } else {
            lson[dad[p]] = r;
        }
        dad[p] = NIL;
    }

    void DeleteNode(int p) {
        int q;

        if (dad[p] == NIL) {
            return;
        }
        if (rson[p] == NIL) {
            q = lson[p];
        } else if (lson[p] == NIL) {
            q = rson[p];
        } else {
            q = lson[p];
            if (rson[q] != NIL) {
                do {
                    q = rson[q];
                } while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p) {
            rson[dad[p]] = q;
        } else {
            lson[dad[p]] = q;
        }
        dad[p] = NIL;
    }

    // ---- Arithmetic compression ----
    void StartModel() {
        int ch, sym, i;

        sym_cum[N_CHAR] = 0;
        for (sym = N_CHAR; sym >= 1; sym--) {
            ch = sym - 1;
            char_to_sym[ch] = sym;
            sym_to_char[sym] = ch;
            sym_freq[sym] = 1;
            sym_cum[sym - 1] = sym_cum[sym] + sym_freq[sym];
        }
        sym_freq[0] = 0;
        position_cum[N] = 0;
        for (i = N; i >= 1; i--) {
            position_cum[i - 1] = position_cum[i] + 10000 / (i + 200);
        }
    }

    void UpdateModel(int sym) {
        int i, c, ch_i, ch_sym;

        if (sym_cum[0] >= MAX_CUM) {
            c = 0;
            for (i = N_CHAR; i > 0; i--) {
                sym_cum[i] = c;
                c += (sym_freq[i] = (sym_freq[i] + 1) >> 1);
            }
            sym_cum[0] = c;
        }
        for (i = sym; sym_freq[i] == sym_freq[i - 1]; i--) {
        }
        if (i < sym) {
            ch_i = sym_to_char[i];
            ch_sym = sym_to_char[sym];
            sym_to_char[i] = ch_sym;
            sym_to_char[sym] = ch_i;
            char_to_sym[ch_i] = sym;
            char_to_sym[ch_sym] = i;
        }
        sym_freq[i]++;
        while (--i >= 0) {
            sym_cum[i]++;
        }
    }

    void Output(int bit) {
        PutBit(bit);
        for (; shifts > 0; shifts--) {
            PutBit(!bit);
        }
    }

    void EncodeChar(int ch) {
        int sym;
        uint32_t range;

        sym = char_to_sym[ch];
        range = high - low;
        high = low + (range * sym_cum[sym - 1]) / sym_cum[0];
        low += (range * sym_cum[sym]) / sym_cum[0];
        for (;;) {
            if (high <= Q2) {
                Output(0);
            } else if (low >= Q2) {
                Output(1);
                low -= Q2;
                high -= Q2;
            } else if (low >= Q1 && high <= Q3) {
                shifts++;
                low -= Q1;
                high -= Q1;
            } else {
                break;
            }
            low += low;
            high += high;
        }
        UpdateModel(sym);
    }

    void EncodePosition(int position) {
        uint32_t range;

        range = high - low;
        high = low + (range * position_cum[position]) / position_cum[0];
        low += (range * position_cum[position + 1]) / position_cum[0];
        for (;;) {
            if (high <= Q2) {
                Output(0);
            } else if (low >= Q2) {
                Output(1);
                low -= Q2;
                high -= Q2;
            } else if (low >= Q1 && high <= Q3) {
                shifts++;
                low -= Q1;
                high -= Q1;
            } else {
                break;
            }
            low += low;
            high += high;
        }
    }

    void EncodeEnd() {
        shifts++;
        if (low < Q1) {
            Output(0);
        } else {
            Output(1);
        }
        FlushBitBuffer();
    }

    int BinarySearchSym(unsigned int x) {
        int i, j, k;

        i = 1;
        j = N_CHAR;
        while (i < j) {
            k = (i + j) / 2;
            if (sym_cum[k] > x) {
                i = k + 1;
            } else {
                j = k;
            }
        }
        return i;
    }

    int BinarySearchPos(unsigned int x) {
        int i, j, k;

        i = 1;
        j = N;
        while (i < j) {
            k = (i + j) / 2;
            if (position_cum[k] > x) {
                i = k + 1;
            } else {
                j = k;
            }
        }
        return i - 1;
    }

    void StartDecode() {
        for (int i = 0; i < M + 2; i++) {
            value = 2 * value + GetBit();
        }
    }

    int DecodeChar() {
        int sym, ch;
        uint32_t range;

        range = high - low;
        sym = BinarySearchSym(static_cast<unsigned int>(((value - low + 1) * sym_cum[0] - 1) / range));
        high = low + (range * sym_cum[sym - 1]) / sym_cum[0];
        low += (range * sym_cum[sym]) / sym_cum[0];
        for (;;) {
            if (low >= Q2) {
                value -= Q2;
                low -= Q2;
                high -= Q2;
            } else if (low >= Q1 && high <= Q3) {
                value -= Q1;
                low -= Q1;
                high -= Q1;
            } else if (high > Q2) {
                break;
            }
            low += low;
            high += high;
            value = 2 * value + GetBit();
        }
        ch = sym_to_char[sym];
        UpdateModel(sym);
        return ch;
    }

    int DecodePosition() {
        int position;
        uint32_t range;

        range = high - low;
        position = BinarySearchPos(static_cast<unsigned int>(((value - low + 1) * position_cum[0] - 1) / range));
        high = low + (range * position_cum[position]) / position_cum[0];
        low += (range * position_cum[position + 1]) / position_cum[0];
        for (;;) {
            if (low >= Q2) {
                value -= Q2;
                low -= Q2;
                high -= Q2;
            } else if (low >= Q1 && high <= Q3) {
                value -= Q1;
                low -= Q1;
                high -= Q1;
            } else if (high > Q2) {
                break;
            }
            low += low;
            high += high;
            value = 2 * value + GetBit();
        }
        return position;
    }

    // ---- Encode and Decode ----
    void Encode() {
        int i, c, len, r, s, last_match_length;

        textsize = static_cast<uint32_t>(in->size());
        for (int b = 0; b < 4; b++) {
            out.push_back(static_cast<uint8_t>(textsize >> (8 * b)));
        }
        if (textsize == 0) {
            return;
        }
        inPos = 0;
        StartModel();
        InitTree();
        s = 0;
        r = N - F;
        for (i = s; i < r; i++) {
            text_buf[i] = ' ';
        }
        for (len = 0; len < F && (c = GetByte()) != -1; len++) {
            text_buf[r + len] = static_cast<unsigned char>(c);
        }
        for (i = 1; i <= F; i++) {
            InsertNode(r - i);
        }
        InsertNode(r);
        do {
            if (match_length > len) {
                match_length = len;
            }
            if (match_length <= THRESHOLD) {
                match_length = 1;
                EncodeChar(text_buf[r]);
            } else {
                EncodeChar(255 - THRESHOLD + match_length);
                EncodePosition(match_position - 1);
            }
            last_match_length = match_length;
            for (i = 0; i < last_match_length && (c = GetByte()) != -1; i++) {
                DeleteNode(s);
                text_buf[s] = static_cast<unsigned char>(c);
                if (s < F - 1) {
                    text_buf[s + N] = static_cast<unsigned char>(c);
                }
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                InsertNode(r);
            }
            while (i++ < last_match_length) {
                DeleteNode(s);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                if (--len) {
                    InsertNode(r);
                }
            }
        } while (len > 0);
        EncodeEnd();
    }

    void Decode(uint32_t limit) {
        int i, j, k, r, c;
        uint32_t count;

        if (in->size() < 4) {
            return;
        }
        textsize = 0;
        for (int b = 0; b < 4; b++) {
            textsize |= static_cast<uint32_t>((*in)[inPos++]) << (8 * b);
        }
        if (textsize == 0) {
            return;
        }
        out.reserve(textsize < limit ? textsize : limit);
        StartDecode();
        StartModel();
        for (i = 0; i < N - F; i++) {
            text_buf[i] = ' ';
        }
        r = N - F;
        for (count = 0; count < textsize && out.size() < limit;) {
            c = DecodeChar();
            if (c < 256) {
                out.push_back(static_cast<uint8_t>(c));
                text_buf[r++] = static_cast<unsigned char>(c);
                r &= (N - 1);
                count++;
            } else {
                i = (r - DecodePosition() - 1) & (N - 1);
                j = c - 255 + THRESHOLD;
                for (k = 0; k < j; k++) {
                    c = text_buf[(i + k) & (N - 1)];
                    out.push_back(static_cast<uint8_t>(c));
                    text_buf[r++] = static_cast<unsigned char>(c);
                    r &= (N - 1);
                    count++;
                }
            }
        }
        if (out.size() > limit) {
            out.resize(limit);
        }
    }

    const std::vector<uint8_t>* in = nullptr;
    size_t inPos = 0;
    std::vector<uint8_t> out;

  private:
    unsigned int putBuffer = 0, putMask = 128;
    unsigned int getBuffer = 0, getMask = 0;
    uint32_t textsize = 0;

    unsigned char text_buf[N + F - 1] = {};
    int match_position = 0, match_length = 0;
    int lson[N + 1] = {}, rson[N + 257] = {}, dad[N + 1] = {};

    uint32_t low = 0, high = Q4, value = 0;
    int shifts = 0;
    int char_to_sym[N_CHAR] = {}, sym_to_char[N_CHAR + 1] = {};
    unsigned int sym_freq[N_CHAR + 1] = {}, sym_cum[N_CHAR + 1] = {}, position_cum[N + 1] = {};
};

}  // namespace

std::vector<uint8_t> Encode(const std::vector<uint8_t>& text) {
    auto coder = std::make_unique<Coder>();
    coder->in = &text;
    coder->Encode();
    return std::move(coder->out);
}

std::vector<uint8_t> DecodeReference(const std::vector<uint8_t>& packed, uint32_t limit) {
    auto coder = std::make_unique<Coder>();
    coder->in = &packed;
    coder->Decode(limit);
    return std::move(coder->out);
}

}  // namespace lzari
