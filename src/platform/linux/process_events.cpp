#include "platform/linux/process_events.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

#include <linux/cn_proc.h>
#include <linux/connector.h>
#include <linux/netlink.h>

namespace tallowby::platform {

namespace {

bool fromProcessConnector(const nlmsghdr& header, std::size_t length) {
    if (header.nlmsg_type == NLMSG_ERROR || header.nlmsg_type == NLMSG_NOOP ||
        length < NLMSG_LENGTH(sizeof(cn_msg) + sizeof(proc_event))) {
        return false;
    }
    const auto* message = static_cast<const cn_msg*>(NLMSG_DATA(&header));
    return message->id.idx == CN_IDX_PROC && message->id.val == CN_VAL_PROC;
}

// The event follows a 20-byte header, so it is only 4-byte aligned: it is copied out, never read in
// place.
proc_event eventOf(const nlmsghdr& header) {
    proc_event event;
    std::memcpy(&event, static_cast<const cn_msg*>(NLMSG_DATA(&header))->data, sizeof event);
    return event;
}

ProcessId asProcess(__kernel_pid_t pid) {
    return pid > 0 ? static_cast<ProcessId>(pid) : kNoProcess;
}

// Threads are made and end inside their process; only whole processes count.
void add(ProcessEvents::Changes& out, const proc_event& event) {
    switch (event.what) {
    case proc_event::PROC_EVENT_FORK:
        if (event.event_data.fork.child_pid == event.event_data.fork.child_tgid) {
            out.changes.push_back({asProcess(event.event_data.fork.child_tgid), false});
        }
        break;
    case proc_event::PROC_EVENT_EXEC:
        out.changes.push_back({asProcess(event.event_data.exec.process_tgid), false});
        break;
    case proc_event::PROC_EVENT_COMM:
        out.changes.push_back({asProcess(event.event_data.comm.process_tgid), false});
        break;
    case proc_event::PROC_EVENT_EXIT:
        if (event.event_data.exit.process_pid == event.event_data.exit.process_tgid) {
            out.changes.push_back({asProcess(event.event_data.exit.process_tgid), true});
        }
        break;
    default:
        break;
    }
}

// Reads one message from the socket and hands each process event in it to `take`. false when none
// was waiting. Sets `lost` when the kernel had to drop some (more came than the socket holds).
template <class Take> bool receive(int socket, bool& lost, Take take) {
    alignas(nlmsghdr) std::array<char, 8192> buffer{};
    sockaddr_nl sender{};
    socklen_t senderLength = sizeof(sender);
    const ssize_t length = ::recvfrom(socket, buffer.data(), buffer.size(), 0,
                                      reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (length < 0) {
        lost = lost || errno == ENOBUFS;
        return errno == ENOBUFS;
    }
    // Only the kernel's word counts: a process posing as it might hide another's start.
    if (sender.nl_pid != 0) {
        return true;
    }
    int remaining = static_cast<int>(length);
    for (auto* header = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(header, remaining);
         header = NLMSG_NEXT(header, remaining)) {
        if (fromProcessConnector(*header, header->nlmsg_len)) {
            take(eventOf(*header));
        }
    }
    return true;
}

// Asks the kernel to start or stop telling: one netlink message carrying one connector message.
bool ask(int socket, proc_cn_mcast_op op) {
    alignas(nlmsghdr) std::array<char, NLMSG_SPACE(sizeof(cn_msg) + sizeof(op))> request{};
    auto* header = reinterpret_cast<nlmsghdr*>(request.data());
    header->nlmsg_len = NLMSG_LENGTH(sizeof(cn_msg) + sizeof(op));
    header->nlmsg_type = NLMSG_DONE;
    auto* message = static_cast<cn_msg*>(NLMSG_DATA(header));
    message->id = {CN_IDX_PROC, CN_VAL_PROC};
    message->len = sizeof(op);
    std::memcpy(message->data, &op, sizeof(op));
    return ::send(socket, request.data(), header->nlmsg_len, 0) == static_cast<ssize_t>(header->nlmsg_len);
}

// The kernel answers the request at once (after any events that came in between). No answer
// (outside the machine's own namespaces the kernel ignores the request) or a refusal (not
// privileged) means nobody listens.
bool accepted(int socket) {
    bool lost = false;
    std::optional<bool> answer;
    while (!answer && receive(socket, lost, [&](const proc_event& event) {
        if (!answer) {
            answer = event.what != proc_event::PROC_EVENT_NONE || event.event_data.ack.err == 0;
        }
    })) {
    }
    return answer.value_or(lost);
}

} // namespace

ProcessEvents::ProcessEvents() {
    os::UniqueFd fd(::socket(PF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_CONNECTOR));
    if (!fd.valid()) {
        return;
    }
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = CN_IDX_PROC;
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        !ask(fd.get(), PROC_CN_MCAST_LISTEN) || !accepted(fd.get())) {
        return;
    }
    socket_ = std::move(fd);
}

ProcessEvents::~ProcessEvents() {
    if (socket_.valid()) {
        // Older kernels count the listeners only by these requests, and go on making events for
        // every process otherwise.
        ask(socket_.get(), PROC_CN_MCAST_IGNORE);
    }
}

ProcessEvents::Changes ProcessEvents::take() {
    Changes out;
    if (socket_.valid()) {
        while (receive(socket_.get(), out.lost, [&](const proc_event& event) { add(out, event); })) {
        }
    }
    return out;
}

} // namespace tallowby::platform
