// Just enough PNG decoding for the browsers' screenshots (8-bit RGB or RGBA,
// not interlaced), so a test can read the colours the page really shows.
import { crc32, deflateSync, inflateSync } from "node:zlib";

export function decodePng(buffer) {
  let offset = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString("latin1", offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error("unsupported PNG");
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error("unsupported PNG colour type");
    } else if (type === "IDAT") {
      data.push(body);
    }
    offset += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const pixels = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? pixels[y * stride + x - channels] : 0;
      const b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? pixels[(y - 1) * stride + x - channels] : 0;
      let value = line[x];
      if (filter === 1) value += a;
      else if (filter === 2) value += b;
      else if (filter === 3) value += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        value += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      pixels[y * stride + x] = value & 0xff;
    }
  }
  const colours = [];
  for (let i = 0; i < pixels.length; i += channels) colours.push([pixels[i], pixels[i + 1], pixels[i + 2]]);
  return { width, height, colours };
}

// The part of an image inside a box, clipped to the image.
export function crop({ width, height, colours }, box) {
  const left = Math.max(box.x, 0);
  const top = Math.max(box.y, 0);
  const right = Math.min(box.x + box.width, width);
  const bottom = Math.min(box.y + box.height, height);
  const cut = [];
  for (let y = top; y < bottom; ++y) cut.push(...colours.slice(y * width + left, y * width + right));
  return { width: right - left, height: bottom - top, colours: cut };
}

// An 8-bit RGB PNG of an image, for pictures cut from a screenshot.
export function encodePng({ width, height, colours }) {
  const stride = width * 3 + 1;
  const raw = Buffer.alloc(stride * height);
  colours.forEach((colour, i) => raw.set(colour, Math.floor(i / width) * stride + 1 + (i % width) * 3));
  const chunk = (type, body) => {
    const length = Buffer.alloc(4);
    length.writeUInt32BE(body.length);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(Buffer.concat([Buffer.from(type, "latin1"), body])));
    return Buffer.concat([length, Buffer.from(type, "latin1"), body, crc]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8);
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk("IHDR", header),
    chunk("IDAT", deflateSync(raw)),
    chunk("IEND", Buffer.alloc(0)),
  ]);
}
