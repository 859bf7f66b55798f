#include "core/tables/codecs.h"

namespace qv {

namespace {

using namespace tables;

// In a fixed order: generated constant data names a kind or an encoding by its position.
constexpr auto kRuleKinds = std::to_array<const RuleKind*>({
    &rule::byteIndexKind,
    &rule::pipeExitHeightKind,
    &rule::indexOffsetKind,
    &rule::byteTableKind,
    &rule::highNibbleKind,
    &revivalElevationKind,
    &pairRowKind,
    &pairColumnKind,
    &bridgeRowKind,
    &scoreDigitKind,
    &digitAddKind,
    &flagpoleDigitsKind,
    &shellChainKind,
});

constexpr auto kEncodings = std::to_array<const Encoding*>({
    &enc::signedByte, &enc::negated,   &enc::unsignedByte, &enc::autoWalk,   &enc::livesPlusOne,
    &enc::complement, &enc::plusOne,   &enc::zeroIs256,    &enc::split16,    &blockColumnEncoding,
    &signed128,       &reversedCount,  &minus130,          &bridgePiece[0],  &bridgePiece[1],
    &bridgePiece[2],  &bridgePiece[3], &bridgePiece[4],    &bridgePiece[5],  &bridgePiece[6],
    &bridgePiece[7],  &bridgePiece[8], &bridgePiece[9],    &bridgePiece[10], &bridgePiece[11],
    &bridgePiece[12],
});

} // namespace

std::span<const RuleKind* const> ruleKinds() {
    return kRuleKinds;
}

std::span<const Encoding* const> encodings() {
    return kEncodings;
}

} // namespace qv
