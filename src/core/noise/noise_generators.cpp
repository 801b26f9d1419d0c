// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise/noise_generators.h"

#include "kelvor_error.h"

namespace kelvor {
namespace {

// Kinds whose stamp is a passive admittance that dissipates. A capacitor is lossless, and so is
// the transformer model: its winding resistances only set the coupling factor.
bool IsThermalKind(char kind) {
    return kind == 'R' || kind == 'L' || kind == 'M';
}

// The slots of the three-terminal devices: control, output, common.
constexpr int kControl = 0, kOutput = 1, kDeviceCommon = 2;
// The op-amp's inputs.
constexpr int kPlusInput = 0, kMinusInput = 1;

long double SquaredMagnitude(Complex value) {
    return value.Re * value.Re + value.Im * value.Im;
}

} // namespace

std::vector<NoiseGenerator> NoiseGenerators(const LoadedCircuit& circuit,
                                            const std::vector<int>& sourceLines,
                                            const NoiseSettings& settings) {
    const long double kelvin = settings.temperatureCelsius + kZeroCelsiusInKelvin;
    if (!(kelvin > 0)) {
        throw KelvorError("The noise temperature must lie above absolute zero (-273.15 C).");
    }
    const long double thermal = 4 * kBoltzmann * kelvin;
    std::vector<NoiseGenerator> generators;
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        const int line = index - 1 < sourceLines.size() ? sourceLines[index - 1] : 0;
        const auto add = [&](const char* what, NoiseSourceForm form, int a, int b,
                             long double density) {
            generators.push_back({index, line, record.kind, what, form, a, b, density});
        };
        const long double* values = record.values.data();
        if (IsThermalKind(record.kind)) {
            add("thermal", NoiseSourceForm::Thermal, 0, 0, thermal);
        } else if (record.kind == 'B') {
            const long double collectorCurrent = values[1];
            const long double shot = 2 * kElementaryCharge * collectorCurrent;
            add("base shot", NoiseSourceForm::CurrentBetween, kControl, kDeviceCommon,
                shot / values[0]);
            add("collector shot", NoiseSourceForm::CurrentBetween, kOutput, kDeviceCommon, shot);
        } else if (record.kind == 'F') {
            add("channel", NoiseSourceForm::CurrentBetween, kOutput, kDeviceCommon,
                thermal * kChannelNoiseFactor * values[0]);
        } else if (record.kind == 'V') {
            add("grid", NoiseSourceForm::SeriesVoltage, kControl, 0,
                thermal * (kValveNoiseResistanceFactor / values[0]));
        } else if (record.kind == 'A') {
            const OpAmpNoise noise = settings.OpAmpAt(line);
            const long double currentDensity = noise.current * noise.current;
            add("en", NoiseSourceForm::SeriesVoltage, kPlusInput, 0, noise.voltage * noise.voltage);
            add("in+", NoiseSourceForm::CurrentBetween, kPlusInput, kCommonNodeSlot,
                currentDensity);
            add("in-", NoiseSourceForm::CurrentBetween, kMinusInput, kCommonNodeSlot,
                currentDensity);
        }
    }
    return generators;
}

long double OutputNoisePower(const NoiseGenerator& generator, const LoadedCircuit& circuit,
                             const NodalPoint& point) {
    const ComponentRecord& record = circuit.records[generator.record];
    const auto transfer = [&](int slot) {
        return point.transfers[NodalPoint::NodeOfSlot(record, slot, circuit.NodeCom)];
    };
    const Complex* terms = point.TermsOf(generator.record);
    switch (generator.form) {
    case NoiseSourceForm::Thermal: {
        // z^T Re(Y) z* = Re(z^T Y z*) for the transfers z of the stamp's nodes: the
        // anti-Hermitian part of Y only adds an imaginary part.
        long double sum = 0;
        for (const Stamp& stamp : StampsOf(record.kind)) {
            const Complex zy = CMul(transfer(stamp.row), terms[stamp.term]);
            const Complex column = transfer(stamp.column);
            const long double product = zy.Re * column.Re + zy.Im * column.Im;
            sum = stamp.subtract ? sum - product : sum + product;
        }
        // A lossless part of the stamp can leave a rounding residue of either sign.
        return sum > 0 ? generator.density * sum : 0;
    }
    case NoiseSourceForm::CurrentBetween:
        return generator.density *
               SquaredMagnitude(CSub(transfer(generator.slotA), transfer(generator.slotB)));
    case NoiseSourceForm::SeriesVoltage: {
        // The element's currents for its terminal moved by e are those of a current -Y[:, t] e
        // injected at its nodes.
        Complex sum = CZero;
        for (const Stamp& stamp : StampsOf(record.kind)) {
            if (stamp.column == generator.slotA) {
                const Complex product = CMul(transfer(stamp.row), terms[stamp.term]);
                sum = stamp.subtract ? CSub(sum, product) : CAdd(sum, product);
            }
        }
        return generator.density * SquaredMagnitude(sum);
    }
    }
    return 0;
}

} // namespace kelvor
