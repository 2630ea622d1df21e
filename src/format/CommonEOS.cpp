// SPDX-License-Identifier: LGPL-3.0-or-later
#include "format/CommonEOS.h"

#include <vector>

namespace {

struct ModelName {
    const wchar_t* japanese;
    const wchar_t* international;
};

const ModelName kModels[] = {
    {L"EOS 8000D", L"EOS 760D"},       {L"EOS 9000D", L"EOS 77D"},
    {L"EOS Kiss X2", L"EOS 450D"},     {L"EOS Kiss F", L"EOS 1000D"},
    {L"EOS Kiss X3", L"EOS 500D"},     {L"EOS Kiss X4", L"EOS 550D"},
    {L"EOS Kiss X5", L"EOS 600D"},     {L"EOS Kiss X50", L"EOS 1100D"},
    {L"EOS Kiss X6i", L"EOS 650D"},    {L"EOS Kiss X7", L"EOS 100D"},
    {L"EOS Kiss X7i", L"EOS 700D"},    {L"EOS Kiss X70", L"EOS 1200D"},
    {L"EOS Kiss X8i", L"EOS 750D"},    {L"EOS Kiss X9", L"EOS 200D"},
    {L"EOS Kiss X9i", L"EOS 800D"},    {L"EOS Kiss X80", L"EOS 1300D"},
    {L"EOS Kiss M", L"EOS M50"},       {L"EOS Kiss X90", L"EOS 2000D"},
    {L"EOS Kiss X90", L"EOS 1500D"},   {L"EOS Kiss X10", L"EOS 250D"},
    {L"EOS Kiss X10", L"EOS 200D II"},
};

// Table order, except that a row moves ahead of every earlier row whose international
// name its own contains, so the longer name is tried first.
std::vector<const ModelName*> Build() {
    std::vector<const ModelName*> order;
    for (const ModelName& m : kModels) {
        auto pos = order.end();
        for (auto it = order.begin(); it != order.end(); ++it) {
            if (CString(m.international).Find((*it)->international) >= 0) {
                pos = it;
                break;
            }
        }
        order.insert(pos, &m);
    }
    return order;
}

// Made on first use, which the library's load handler makes happen at load.
const std::vector<const ModelName*>& SearchOrder() {
    static const std::vector<const ModelName*> order = Build();
    return order;
}

}  // namespace

void CCommonEOS::BuildTable() { SearchOrder(); }

const CString CCommonEOS::ModelEtoJ(const CString& name) {
    for (const ModelName* m : SearchOrder()) {
        if (name.Find(m->international) >= 0) {
            CString out(name);
            out.Replace(m->international, m->japanese);
            return out;
        }
    }
    return name;
}
