// A value handle: a bank and an element name of at most 499 characters.
// Reading converts strictly by type; assigning creates or overwrites the
// element. Members are named "%s.%s", items "%s[%d]". Every read marks
// the element read (VarBank::nextUnread).
#ifndef ZEM_STORECV_H
#define ZEM_STORECV_H

class StoreEl;
class VarBank;

class StoreCv {
public:
    enum { NameSize = 500, MaxName = NameSize - 1 };

    // Keeps the first 499 characters of name, with a "name truncated: "
    // message when it is longer.
    StoreCv(VarBank* bank, const char* name);

    operator int() const;     // 0 unless the element is an integer
    operator double() const;  // 0.0 unless the element is a double
    operator char*() const;   // "" unless the element is a string
    // The value as a double from an integer or a double element, 0.0 for
    // any other: for inputs that a script may write as 3 or as 3.0.
    double real() const;

    int getType() const;
    // How many items [0], [1], ... of this name are present in a row: an
    // item is a value (a[2]) or a structure or an array (a[2].x, a[2][0]).
    // 3 for a[] { 1 2 3 }, 1 when only a[0] and a[2] are there, 0 for no
    // a[0]. Reads no item (see VarBank::nextUnread).
    int count() const;
    VarBank* getData() const { return bank; }
    char* getName() const { return const_cast<char*>(name); }

    StoreCv operator[](const char* member) const;
    StoreCv operator[](int index) const;

    StoreCv& operator=(int value);
    StoreCv& operator=(double value);
    StoreCv& operator=(const char* value);
    // Narrowed by low-order bytes, up to the first zero byte or 499 units.
    StoreCv& operator=(const unsigned short* value);
    // Copies src's value, or the whole group src names.
    StoreCv& operator=(const StoreCv& src);
    // Copies the element's value; an element of no known type is ignored.
    StoreCv& operator=(const StoreEl& src);
    // Pastes every element of src under this name.
    StoreCv& operator=(const VarBank& src);

    StoreCv(const StoreCv&) = default;

private:
    friend class VarBank;
    // A handle on a name composed of head, sep and tail, cut to 499
    // characters with the truncation message when it is longer.
    StoreCv(VarBank* bank, const char* head, const char* sep, const char* tail);
    void setName(const char* head, const char* sep, const char* tail);

    char name[NameSize];
    VarBank* bank;
};

#endif
