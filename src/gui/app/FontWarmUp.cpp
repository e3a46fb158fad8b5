#include "app/FontWarmUp.h"

#ifdef VELLMORE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp()
{
#ifdef VELLMORE_FONTCONFIG
    m_reader = std::thread([] { FcInit(); });
#endif
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_reader.joinable())
        m_reader.join();
}
