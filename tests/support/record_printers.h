// Lets GoogleTest print the geometry records as values in failure messages.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <ostream>

namespace orvex {

inline void PrintTo(const TDPoint& p, std::ostream* os) { *os << "(" << p.X << ", " << p.Y << ", " << p.Z << ")"; }
inline void PrintTo(const dpoint& p, std::ostream* os) { *os << "(" << p.X << ", " << p.Y << ", " << p.Z << ")"; }
inline void PrintTo(const TDLine& l, std::ostream* os)
{
    *os << "line ";
    PrintTo(l.P1, os);
    *os << " -> ";
    PrintTo(l.P2, os);
}
inline void PrintTo(const dline& l, std::ostream* os)
{
    *os << "line ";
    PrintTo(l.P1, os);
    *os << " -> ";
    PrintTo(l.P2, os);
}
inline void PrintTo(const TDArc& a, std::ostream* os)
{
    *os << "arc centre ";
    PrintTo(a.Center, os);
    *os << " r " << a.Radius << " from " << a.StartAngle << " to " << a.EndAngle;
}
inline void PrintTo(const darc& a, std::ostream* os)
{
    *os << "arc centre ";
    PrintTo(a.Center, os);
    *os << " r " << a.Radius << " from " << a.StartAngle << " to " << a.EndAngle;
}
inline void PrintTo(const diline& l, std::ostream* os)
{
    *os << "iline " << l.NormalX << "x + " << l.NormalY << "y + " << l.Offset;
}
inline void PrintTo(const TDView3D& v, std::ostream* os)
{
    *os << "view " << v.View << " [" << v.M11 << " " << v.M12 << " " << v.M13 << "; " << v.M21 << " " << v.M22 << " "
        << v.M23 << "; " << v.M31 << " " << v.M32 << " " << v.M33 << "]";
}

} // namespace orvex
