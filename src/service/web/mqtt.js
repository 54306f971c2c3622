"use strict";
// A small MQTT 3.1.1 client over WebSockets, enough to follow the game from a
// broker: CONNECT with a clean session, SUBSCRIBE and UNSUBSCRIBE, PUBLISH
// received (QoS 0 and 1, acknowledged), PINGREQ to keep the link open, and a
// new connection after a lost one, waiting longer each time.
const PylonixMqtt = (() => {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const keepAliveSeconds = 30;
  // Mosquitto 2.0's WebSockets listener hands a large message on a few
  // kilobytes at each turn of its loop, which waits up to a tenth of a second
  // when nothing arrives: a 400 KB message takes ten seconds. A ping every
  // few milliseconds keeps the loop turning (the same message in 0.6 s).
  const hurryMilliseconds = 5;
  const mostHurrySeconds = 60;

  function utf8(text) {
    const bytes = encoder.encode(text);
    return [bytes.length >> 8, bytes.length & 255, ...bytes];
  }

  // A packet: its type and flags, the remaining length (1 to 4 bytes of 7
  // bits each, low first) and the body.
  function packet(first, body) {
    const length = [];
    let left = body.length;
    do {
      let digit = left % 128;
      left = Math.floor(left / 128);
      if (left > 0) digit |= 128;
      length.push(digit);
    } while (left > 0);
    return new Uint8Array([first, ...length, ...body]);
  }

  function connectPacket(clientId) {
    const header = [...utf8("MQTT"), 4, 0x02, keepAliveSeconds >> 8, keepAliveSeconds & 255];
    return packet(0x10, [...header, ...utf8(clientId)]);
  }

  function subscribePacket(id, topics) {
    const body = [id >> 8, id & 255];
    for (const topic of topics) body.push(...utf8(topic), 0); // QoS 0 is enough for a reader
    return packet(0x82, body);
  }

  function unsubscribePacket(id, topic) {
    return packet(0xa2, [id >> 8, id & 255, ...utf8(topic)]);
  }

  // Whether `topic` is one of those the filter names ('+' standing for any
  // one level, a closing '#' for any levels below).
  function matches(filter, topic) {
    const wanted = filter.split("/");
    const levels = topic.split("/");
    for (let i = 0; i < wanted.length; ++i) {
      if (wanted[i] === "#" && i === wanted.length - 1) return true;
      if (i >= levels.length || (wanted[i] !== "+" && wanted[i] !== levels[i])) return false;
    }
    return wanted.length === levels.length;
  }

  // Reads whole packets from `buffer`; returns what is left of it, an
  // unfinished packet waiting for more bytes.
  function readPackets(buffer, onPacket) {
    let at = 0;
    for (;;) {
      let length = 0, multiplier = 1, index = at + 1, complete = false;
      while (index < buffer.length && index < at + 5) {
        const digit = buffer[index++];
        length += (digit & 127) * multiplier;
        multiplier *= 128;
        if ((digit & 128) === 0) { complete = true; break; }
      }
      if (!complete || index + length > buffer.length) return buffer.slice(at);
      onPacket(buffer[at], buffer.subarray(index, index + length));
      at = index + length;
    }
  }

  // Calls onMessage(topic, text) for each message published on the topics
  // subscribed to at the broker's WebSocket address `url`, and
  // onStatus(connected) as the link comes and goes. Returns the link:
  // subscribe(filter or filters, in one request) and unsubscribe(filter),
  // kept across reconnections, and hurry(on): while on (for a minute at
  // most), large retained messages are asked for at full speed.
  function connect(url, onMessage, onStatus) {
    let delay = 500;
    let nextId = 1;
    const topics = new Set();
    let send = () => {};
    let hurrying = null;
    const packetId = () => (nextId = (nextId % 65535) + 1);
    function open() {
      const socket = new WebSocket(url, ["mqtt"]);
      socket.binaryType = "arraybuffer";
      let pending = new Uint8Array(0);
      let ping = null;
      let connected = false;
      send = (bytes) => { if (connected && socket.readyState === WebSocket.OPEN) socket.send(bytes); };
      socket.onopen = () => {
        const hello = connectPacket("pylonix-" + Math.random().toString(36).slice(2, 12));
        socket.send(hello);
      };
      socket.onmessage = (event) => {
        const received = new Uint8Array(event.data);
        const joined = new Uint8Array(pending.length + received.length);
        joined.set(pending);
        joined.set(received, pending.length);
        pending = readPackets(joined, (first, body) => {
          const type = first >> 4;
          if (type === 2) { // CONNACK
            if (body[1] !== 0) return socket.close();
            connected = true;
            delay = 500;
            onStatus(true);
            if (topics.size > 0) send(subscribePacket(packetId(), [...topics]));
            ping = setInterval(() => send(new Uint8Array([0xc0, 0])), keepAliveSeconds * 500);
          } else if (type === 3) { // PUBLISH
            const qos = (first >> 1) & 3;
            const topicLength = (body[0] << 8) | body[1];
            const topic = decoder.decode(body.subarray(2, 2 + topicLength));
            let start = 2 + topicLength;
            if (qos > 0) {
              if (qos === 1) send(new Uint8Array([0x40, 2, body[start], body[start + 1]]));
              start += 2;
            }
            if ([...topics].some((filter) => matches(filter, topic)))
              onMessage(topic, decoder.decode(body.subarray(start)));
          }
        });
      };
      socket.onclose = () => {
        connected = false;
        if (ping) clearInterval(ping);
        onStatus(false);
        setTimeout(open, delay);
        delay = Math.min(delay * 2, 15000);
      };
    }
    open();
    return {
      subscribe(filters) {
        const added = [].concat(filters).filter((filter) => !topics.has(filter));
        if (added.length === 0) return;
        for (const filter of added) topics.add(filter);
        send(subscribePacket(packetId(), added));
      },
      unsubscribe(topic) {
        if (!topics.delete(topic)) return;
        send(unsubscribePacket(packetId(), topic));
      },
      hurry(on) {
        if (hurrying) clearInterval(hurrying);
        hurrying = null;
        if (!on) return;
        const until = Date.now() + mostHurrySeconds * 1000;
        hurrying = setInterval(() => {
          if (Date.now() > until) this.hurry(false);
          else send(new Uint8Array([0xc0, 0]));
        }, hurryMilliseconds);
      },
    };
  }

  return { connect };
})();
