// Decimal text of an int, as "%d" writes it, without the cost of a
// formatted print: item names and hexadecimal token values are made on
// every array element and every "0x" literal a script holds.
#ifndef ZEM_DECIMALTEXT_H
#define ZEM_DECIMALTEXT_H

// Writes v in decimal with its terminator to out, which has room for at
// least 12 bytes; returns the number of characters written.
inline int decimalText(char* out, int v)
{
    char digits[10];
    unsigned magnitude = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude);
    int length = 0;
    if (v < 0)
        out[length++] = '-';
    while (n)
        out[length++] = digits[--n];
    out[length] = '\0';
    return length;
}

#endif
