// Basic declarations of the host runtime interface: export macro and enumerations.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(VUZIZEV_BUILDING)
#define VZ_API __declspec(dllexport)
#else
#define VZ_API __declspec(dllimport)
#endif
#else
#define VZ_API __attribute__((visibility("default")))
#endif

// Direction of a registered property.
enum QV_Direction : int {
    QV_DirectionNone = 0,
    QV_DirectionInput = 4,
    QV_DirectionOutput = 8,
};

// What the host made of an assignment: 0 when it took the value, negative when the property
// cannot hold a value of that kind.
using QV_AssignStatus = long;

// How the host treats a port when it connects models.
using QV_HostPortType = int;

// Operator codes of a prefix expression.
enum EOp : int {
    EOp_Unary = 1,
    EOp_Plus = 19,
    EOp_Minus = 20,
    EOp_Times = 21,
    EOp_Divide = 22,
    EOp_Square = 40,
};
