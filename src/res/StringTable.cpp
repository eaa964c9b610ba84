#include "StringTable.h"

#include "ResourceIds.h"

std::string ResString(int id) {
    switch (id) {
        case IDS_ABOUTBOX: return "关于 Halvane(&A)...";
        default: return {};
    }
}
