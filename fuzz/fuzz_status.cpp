// A status message's value through every rule that reads it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Targets.h"
#include "core/RunTimeError.h"
#include "panels/StatusRules.h"

int gr::fuzz::Status(const std::uint8_t* data, std::size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    (void)gr::FormatThousands(value);
    (void)gr::ParseColourValue(value);
    auto guarded = [](auto&& rule) {
        try {
            rule();
        } catch (const gr::RunTimeError&) {
        }
    };
    guarded([&] { (void)gr::ParseStatChange(value); });
    guarded([&] { (void)gr::BarWidth(gr::StaminaFraction(value), 122); });
    for (bool hitPoints : {true, false})
        guarded([&] {
            const gr::PointsBar bar = gr::PointsBarFor(value, hitPoints, gr::kDefaultHitPointsColour);
            (void)gr::BarWidth(bar.Fraction, 122);
        });
    guarded([&] {
        gr::Experience xp = gr::ParseExperience(value);
        (void)gr::ExperienceText(xp, true);
        (void)gr::BarWidth(gr::ExperienceBarFor(xp).Fraction, 122);
    });
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Status)
