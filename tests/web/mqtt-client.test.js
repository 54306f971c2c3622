"use strict";
// The pages' MQTT client (web/mqtt.js) against a real mosquitto that the test
// starts with a WebSockets listener: it connects, subscribes, gets the
// retained message, stops getting what it unsubscribed from, and after the
// broker restarts connects again and is subscribed as before.
// node mqtt-client.test.js MQTT_JS NODE_MODULES MOSQUITTO
const assert = require("assert");
const { spawn } = require("child_process");
const fs = require("fs");
const net = require("net");
const os = require("os");
const path = require("path");

const [script, modules, mosquitto] = process.argv.slice(2);
if (!fs.existsSync(path.join(modules, "ws"))) {
  console.log("skipped: ws was not fetched (the npm registry was out of reach)");
  process.exit(77);
}
globalThis.WebSocket = require(path.join(modules, "ws")); // Node has none of its own before 22
const PylonixMqtt = new Function(fs.readFileSync(script, "utf8") + "\nreturn PylonixMqtt;")();

function freePort() {
  return new Promise((resolve) => {
    const probe = net.createServer().listen(0, "127.0.0.1", () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// Resolves once `check` holds, looked at whenever something arrives; fails
// after `seconds`.
const waiters = new Set();
function until(what, check, seconds = 10) {
  return new Promise((resolve, reject) => {
    const waiter = () => {
      if (!check()) return;
      clearTimeout(timer);
      waiters.delete(waiter);
      resolve();
    };
    const timer = setTimeout(() => {
      waiters.delete(waiter);
      reject(new Error("timed out waiting for " + what));
    }, seconds * 1000);
    waiters.add(waiter);
    waiter();
  });
}
const happened = () => waiters.forEach((waiter) => waiter());

// A broker on loopback: plain MQTT (for the test's own publishing) and
// MQTT over WebSockets (for the client). The plain listener comes first:
// mosquitto 2.0.11 starts none when a WebSockets listener is its only one.
async function startBroker(folder, plain, webSockets) {
  const config = path.join(folder, "mosquitto.conf");
  fs.writeFileSync(config, `listener ${plain} 127.0.0.1\nlistener ${webSockets} 127.0.0.1\n` +
                           "protocol websockets\nallow_anonymous true\n");
  const broker = spawn(mosquitto, ["-c", config], { stdio: "ignore" });
  broker.exited = new Promise((resolve) => broker.on("exit", resolve));
  for (let tries = 0; ; ++tries) {
    const open = await new Promise((resolve) => {
      const socket = net.connect(webSockets, "127.0.0.1", () => { socket.end(); resolve(true); });
      socket.on("error", () => resolve(false));
    });
    if (open) return broker;
    if (tries === 100) throw new Error("the broker did not start");
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Publishes `text` on `topic` over plain MQTT 3.1.1 (QoS 0): CONNECT, then
// on CONNACK the PUBLISH and DISCONNECT.
function publish(port, topic, text, retained) {
  const utf8 = (value) => {
    const bytes = Buffer.from(value, "utf8");
    return Buffer.concat([Buffer.from([bytes.length >> 8, bytes.length & 255]), bytes]);
  };
  const packet = (first, body) => Buffer.concat([Buffer.from([first, body.length]), body]);
  return new Promise((resolve, reject) => {
    const socket = net.connect(port, "127.0.0.1", () => {
      socket.write(packet(0x10, Buffer.concat([utf8("MQTT"), Buffer.from([4, 2, 0, 30]),
                                               utf8("test-publisher")])));
    });
    socket.once("data", () => {
      socket.write(packet(retained ? 0x31 : 0x30, Buffer.concat([utf8(topic), Buffer.from(text)])));
      socket.end(Buffer.from([0xe0, 0]), resolve);
    });
    socket.on("error", reject);
  });
}

async function main() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "pylonix-mqtt-"));
  const plain = await freePort();
  const webSockets = await freePort();
  let broker = await startBroker(folder, plain, webSockets);
  const received = [];
  let connected = false;
  let connections = 0;
  try {
    await publish(plain, "game/snapshot", "first state", true);
    const link = PylonixMqtt.connect(`ws://127.0.0.1:${webSockets}`, (topic, text) => {
      received.push(topic + " " + text);
      happened();
    }, (up) => {
      connected = up;
      if (up) ++connections;
      happened();
    });
    link.subscribe("game/snapshot");
    link.subscribe("game/changes");
    await until("the retained snapshot", () => received.includes("game/snapshot first state"));
    assert.ok(connected);

    await publish(plain, "game/changes", "one", false);
    await until("a change", () => received.includes("game/changes one"));
    link.unsubscribe("game/snapshot");
    // Published in this order by one client, so "two" comes after the
    // snapshot would have.
    await publish(plain, "game/snapshot", "second state", true);
    await publish(plain, "game/changes", "two", false);
    await until("the second change", () => received.includes("game/changes two"));
    assert.ok(!received.includes("game/snapshot second state"), "unsubscribed, yet received");

    broker.kill();
    await broker.exited;
    await until("the link to go down", () => !connected);
    broker = await startBroker(folder, plain, webSockets);
    await until("a new connection", () => connected && connections === 2, 20);
    await publish(plain, "game/changes", "three", false);
    await until("a change after the restart", () => received.includes("game/changes three"));
    // The restarted broker kept nothing; a snapshot published now is retained
    // and comes to a new subscription whether it is published before or after.
    await publish(plain, "game/snapshot", "third state", true);
    link.subscribe("game/snapshot");
    await until("the new snapshot", () => received.includes("game/snapshot third state"));
    console.log("1 passed, 0 failed");
  } finally {
    broker.kill();
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

main().then(() => process.exit(0), (error) => {
  console.log("FAIL " + error.message);
  console.log("0 passed, 1 failed");
  process.exit(1);
});
