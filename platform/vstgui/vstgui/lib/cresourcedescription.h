#pragma once

#include "vstguibase.h"

namespace VSTGUI
{
class CResourceDescription
{
public:
	enum
	{
		kIntegerType,
		kStringType,
		kUnknownType
	};

	CResourceDescription () = default;
	CResourceDescription (int32_t id) : type (kIntegerType) { u.id = id; }
	CResourceDescription (UTF8StringPtr name) : type (kStringType) { u.name = name; }

	CResourceDescription& operator= (int32_t id)
	{
		u.id = id;
		type = kIntegerType;
		return *this;
	}

	int32_t type {kUnknownType};
	union
	{
		int32_t id;
		UTF8StringPtr name {nullptr};
	} u;
};
} // VSTGUI
