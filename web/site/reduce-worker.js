// SPDX-License-Identifier: MIT
// Makes a map layer's smaller copies off the page's thread: each halves the
// one before, a cell of 2 x 2 pixels taking its first opaque pixel in row
// order (else its top-left one), so that no marker, illegal or changed
// pixel is lost however far the map is zoomed out. Asked to, it first
// turns the layer into a highlight: the pixels of a colour (or all opaque
// ones) kept, the rest veiled.

// The smallest copy kept: smaller ones would show less than an overview.
const kSmallestSide = 16;
// The veil over the pixels of other colours, in a highlight.
const kVeil = [24, 24, 24, 190];

function pixelsOf(bitmap) {
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const context = canvas.getContext('2d', {willReadFrequently: true});
  context.drawImage(bitmap, 0, 0);
  bitmap.close();
  return context.getImageData(0, 0, canvas.width, canvas.height);
}

// `colour` [r, g, b] keeps that colour's pixels, 'opaque' every opaque one.
function highlight(image, colour) {
  const {data} = image;
  const [red, green, blue] = colour === 'opaque' ? [] : colour;
  for (let i = 0; i < data.length; i += 4) {
    const kept = data[i + 3] === 255 &&
                 (colour === 'opaque' || (data[i] === red && data[i + 1] === green && data[i + 2] === blue));
    if (!kept) data.set(kVeil, i);
  }
  return image;
}

function halved(image) {
  const {width, height, data} = image;
  const out = new ImageData(Math.ceil(width / 2), Math.ceil(height / 2));
  for (let y = 0; y < out.height; ++y) {
    for (let x = 0; x < out.width; ++x) {
      let chosen = -1;
      for (let dy = 0; dy < 2 && chosen < 0; ++dy) {
        for (let dx = 0; dx < 2 && chosen < 0; ++dx) {
          const [sx, sy] = [2 * x + dx, 2 * y + dy];
          if (sx < width && sy < height && data[(sy * width + sx) * 4 + 3] === 255) chosen = (sy * width + sx) * 4;
        }
      }
      if (chosen < 0) chosen = (2 * y * width + 2 * x) * 4;
      out.data.set(data.subarray(chosen, chosen + 4), (y * out.width + x) * 4);
    }
  }
  return out;
}

// {id, bitmap, colour}: answers {id, base, levels}, `base` the highlight
// when a colour (or 'opaque') was given, `levels` the copies halved once, twice, ...
onmessage = async ({data: {id, bitmap, colour}}) => {
  let image = pixelsOf(bitmap);
  const base = colour ? await createImageBitmap(highlight(image, colour)) : null;
  const levels = [];
  while (Math.max(image.width, image.height) > kSmallestSide) {
    image = halved(image);
    levels.push(await createImageBitmap(image));
  }
  postMessage({id, base, levels}, [...(base ? [base] : []), ...levels]);
};
