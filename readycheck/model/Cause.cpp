#include "Cause.h"

const char* CauseIdName(CauseId id) {
    switch (id) {
        case CauseId::ForcedByEnvironment:
            return "forced_by_environment";
        case CauseId::AnswersChangedByEnvironment:
            return "answers_changed_by_environment";
        case CauseId::RemoteDisplay:
            return "remote_display";
        case CauseId::VirtualDisplayServer:
            return "virtual_display_server";
        case CauseId::ContainerWithoutDevice:
            return "container_without_device";
        case CauseId::Nomodeset:
            return "nomodeset";
        case CauseId::SecureBootBlocksModule:
            return "secure_boot_blocks_module";
        case CauseId::NoKernelDriver:
            return "no_kernel_driver";
        case CauseId::BasicDisplayDriver:
            return "basic_display_driver";
        case CauseId::NvidiaVersionMismatch:
            return "nvidia_version_mismatch";
        case CauseId::NvidiaLibraryMissing:
            return "nvidia_library_missing";
        case CauseId::MesaDriverMissing:
            return "mesa_driver_missing";
        case CauseId::NoDeviceNodes:
            return "no_device_nodes";
        case CauseId::DeviceNotPermitted:
            return "device_not_permitted";
        case CauseId::VirtualMachineWithout3D:
            return "virtual_machine_without_3d";
        case CauseId::NoGraphicsDevice:
            return "no_graphics_device";
    }
    return "unknown";
}
