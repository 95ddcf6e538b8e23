#include "register/registercard.h"

namespace quirlanto {

RegisterCards defaultCards()
{
    return RegisterCards{{
        {QStringLiteral("Büro 1"), {}},
        {QStringLiteral("Büro 2"), {}},
        {QStringLiteral("Privat 1"), {}},
        {QStringLiteral("Privat 2"), {}},
    }};
}

} // namespace quirlanto
