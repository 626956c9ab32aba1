#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace VSTGUI
{
using CCoord = double;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;
using UTF8StringBuffer = char*;

using CMessageResult = int32_t;
enum
{
	kMessageUnknown = 0,
	kMessageNotified = 1
};

class IReference
{
public:
	virtual ~IReference () noexcept = default;
	virtual void forget () = 0;
	virtual void remember () = 0;
};

// The count starts at 1: whoever creates an object owns that first reference.
template <typename T>
class ReferenceCounted : virtual public IReference
{
public:
	ReferenceCounted () = default;
	ReferenceCounted (const ReferenceCounted&) : nbReference (1) {}
	ReferenceCounted& operator= (const ReferenceCounted&) { return *this; }
	~ReferenceCounted () noexcept override = default;

	void forget () override
	{
		if (--nbReference == 0)
		{
			beforeDelete ();
			delete this;
		}
	}
	void remember () override { ++nbReference; }
	virtual int32_t getNbReference () const { return nbReference; }

protected:
	virtual void beforeDelete () {}

private:
	T nbReference {1};
};

using AtomicReferenceCounted = ReferenceCounted<std::atomic<int32_t>>;
using NonAtomicReferenceCounted = ReferenceCounted<int32_t>;

class CBaseObject : public NonAtomicReferenceCounted
{
public:
	CBaseObject () = default;
	~CBaseObject () noexcept override = default;
	CBaseObject (const CBaseObject&) : NonAtomicReferenceCounted () {}
	CBaseObject& operator= (const CBaseObject&) { return *this; }

	virtual CMessageResult notify (CBaseObject* /*sender*/, IdStringPtr /*message*/) { return kMessageUnknown; }
	virtual CBaseObject* newCopy () const { return nullptr; }
};

#define CLASS_METHODS(name, parent) \
	CBaseObject* newCopy () const override { return new name (*this); }
#define CLASS_METHODS_NOCOPY(name, parent)
#define CLASS_METHODS_VIRTUAL(name, parent) CBaseObject* newCopy () const override = 0;

template <class I>
class SharedPointer
{
public:
	SharedPointer () noexcept = default;
	SharedPointer (I* p, bool remember = true) noexcept : ptr (p)
	{
		if (ptr && remember)
			ptr->remember ();
	}
	SharedPointer (const SharedPointer& other) noexcept : SharedPointer (other.ptr) {}
	template <class T>
	SharedPointer (const SharedPointer<T>& other) noexcept : SharedPointer (other.get ())
	{
	}
	SharedPointer (SharedPointer&& other) noexcept : ptr (std::exchange (other.ptr, nullptr)) {}
	~SharedPointer () noexcept
	{
		if (ptr)
			ptr->forget ();
	}

	SharedPointer& operator= (I* p) noexcept
	{
		if (p != ptr)
		{
			if (p)
				p->remember ();
			if (ptr)
				ptr->forget ();
			ptr = p;
		}
		return *this;
	}
	SharedPointer& operator= (const SharedPointer& other) noexcept { return *this = other.ptr; }
	SharedPointer& operator= (SharedPointer&& other) noexcept
	{
		if (this != &other)
		{
			if (ptr)
				ptr->forget ();
			ptr = std::exchange (other.ptr, nullptr);
		}
		return *this;
	}

	I* get () const noexcept { return ptr; }
	operator I* () const noexcept { return ptr; }
	I* operator-> () const noexcept { return ptr; }
	bool operator== (const SharedPointer& other) const noexcept { return ptr == other.ptr; }
	bool operator== (I* p) const noexcept { return ptr == p; }

	template <class T>
	T* cast () const
	{
		return dynamic_cast<T*> (ptr);
	}

	// Adopts a reference the caller already holds.
	SharedPointer& adopt (I* p) noexcept
	{
		if (ptr)
			ptr->forget ();
		ptr = p;
		return *this;
	}

private:
	I* ptr {nullptr};
};

template <class I>
SharedPointer<I> owned (I* p) noexcept
{
	return SharedPointer<I> (p, false);
}

template <class I>
SharedPointer<I> shared (I* p) noexcept
{
	return SharedPointer<I> (p, true);
}

template <class I, typename... Args>
SharedPointer<I> makeOwned (Args&&... args)
{
	return SharedPointer<I> (new I (std::forward<Args> (args)...), false);
}

} // VSTGUI
