#include "calc/centavos.h"

#include <cstdio>

namespace quarvel::calc {

Expansao expandir(long double valor) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", valor);
    Expansao x;
    const char* p = buf;
    if (*p == '-') {
        x.negativo = true;
        ++p;
    }
    x.digitos.reserve(18);
    for (; *p != 'e' && *p != '\0'; ++p)
        if (*p >= '0' && *p <= '9') x.digitos.push_back(*p);
    if (*p == 'e') {
        ++p;
        bool neg = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        int e = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            e = e * 10 + (*p - '0');
        x.expoente = neg ? -e : e;
    }
    return x;
}

bool incrementar(std::string& digitos) {
    for (auto i = digitos.size(); i-- > 0;) {
        if (digitos[i] != '9') {
            ++digitos[i];
            return false;
        }
        digitos[i] = '0';
    }
    return true;
}

std::string centavos(const Expansao& x) {
    const int manter = x.expoente + 1 + 2; // digits up to the second decimal
    const int total = static_cast<int>(x.digitos.size());
    if (manter < 0) return "0";
    if (manter == 0) return x.digitos[0] >= '5' ? "1" : "0";
    if (manter >= total) return x.digitos + std::string(manter - total, '0');
    std::string d = x.digitos.substr(0, manter);
    if (x.digitos[manter] >= '5' && incrementar(d)) d.insert(d.begin(), '1');
    return d;
}

} // namespace quarvel::calc
