// A loopback forwarder: a browser that connects to it reaches the console from another loopback
// source address, so that a second browser on this machine counts as a second user.
import net from 'node:net';

export async function startForwarder(targetPort, sourceAddress) {
  const sockets = new Set();
  const track = (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
    socket.on('error', () => socket.destroy());
  };
  const server = net.createServer((client) => {
    const upstream = net.connect({ host: '127.0.0.1', port: targetPort, localAddress: sourceAddress });
    track(client);
    track(upstream);
    // Each side's end reaches the other once its data are through.
    client.pipe(upstream);
    upstream.pipe(client);
    client.on('close', () => upstream.destroy());
    upstream.on('error', () => client.destroy());
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}`,
    async close() {
      for (const socket of sockets) socket.destroy();
      await new Promise((resolve) => server.close(resolve));
    },
  };
}
