// A small PNG reader for the reference frames and screenshots: 8-bit RGB or RGBA,
// not interlaced. Takes a path or the bytes; returns { width, height, rgba } with
// four bytes a pixel. writePng makes a PNG of such a picture.
import { readFileSync } from "node:fs";
import { deflateSync, inflateSync } from "node:zlib";

export function readPng(source) {
  const path = Buffer.isBuffer(source) ? "screenshot" : source;
  const data = Buffer.isBuffer(source) ? source : readFileSync(source);
  const signature = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
  if (!signature.every((b, i) => data[i] === b)) throw new Error(`${path}: not a PNG file`);
  let width = 0, height = 0, channels = 0;
  const idat = [];
  for (let at = 8; at < data.length;) {
    const length = data.readUInt32BE(at);
    const type = data.toString("latin1", at + 4, at + 8);
    const body = data.subarray(at + 8, at + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8, 13);
      channels = { 2: 3, 6: 4 }[colour];
      if (depth !== 8 || !channels || interlace !== 0)
        throw new Error(`${path}: only 8-bit RGB or RGBA, not interlaced`);
    } else if (type === "IDAT") {
      idat.push(body);
    } else if (type === "IEND") {
      break;
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = rows.subarray(y * stride, (y + 1) * stride);
    const up = y > 0 ? rows.subarray((y - 1) * stride, y * stride) : Buffer.alloc(stride);
    // One loop a filter: a screenshot has millions of bytes.
    const n = channels;
    if (filter === 0) out.set(line);
    else if (filter === 1) {
      for (let i = 0; i < stride; ++i) out[i] = line[i] + (i >= n ? out[i - n] : 0);
    } else if (filter === 2) {
      for (let i = 0; i < stride; ++i) out[i] = line[i] + up[i];
    } else if (filter === 3) {
      for (let i = 0; i < stride; ++i) out[i] = line[i] + (((i >= n ? out[i - n] : 0) + up[i]) >> 1);
    } else if (filter === 4) {
      for (let i = 0; i < n; ++i) out[i] = line[i] + up[i];
      for (let i = n; i < stride; ++i) {
        const a = out[i - n], b = up[i], c = up[i - n];
        const pa = Math.abs(b - c), pb = Math.abs(a - c), pc = Math.abs(a + b - 2 * c);
        out[i] = line[i] + (pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
      }
    } else throw new Error(`${path}: bad filter ${filter}`);
  }
  let rgba = rows;
  if (channels === 3) {
    rgba = Buffer.alloc(width * height * 4, 255);
    for (let p = 0, q = 0; p < rgba.length; p += 4, q += 3) {
      rgba[p] = rows[q];
      rgba[p + 1] = rows[q + 1];
      rgba[p + 2] = rows[q + 2];
    }
  }
  return { width, height, rgba };
}

// An 8-bit RGBA PNG of { width, height, rgba }, for pictures cut from screenshots.
export function writePng({ width, height, rgba }) {
  const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });
  const crc = (bytes) => {
    let c = 0xffffffff;
    for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  };
  const chunk = (type, body) => {
    const out = Buffer.alloc(12 + body.length);
    out.writeUInt32BE(body.length, 0);
    out.write(type, 4, "latin1");
    body.copy(out, 8);
    out.writeUInt32BE(crc(out.subarray(4, 8 + body.length)), 8 + body.length);
    return out;
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8);
  const raw = Buffer.alloc((4 * width + 1) * height);
  for (let y = 0; y < height; ++y)
    rgba.copy(raw, y * (4 * width + 1) + 1, 4 * width * y, 4 * width * (y + 1));
  return Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
                        chunk("IHDR", header), chunk("IDAT", deflateSync(raw)),
                        chunk("IEND", Buffer.alloc(0))]);
}
